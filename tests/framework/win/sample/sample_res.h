// Ids of the sample program and its resource library fw_sample_res.dll.
#pragma once
#define IDR_MAINFRAME 128
#define IDD_SAMPLE_FORM 6000
#define IDC_SAMPLE_NAME 6001
#define IDC_SAMPLE_CHECK 6002
#define IDC_SAMPLE_BUTTON 6003
#define ID_INDICATOR_COUNT 29900
#define ID_SAMPLE_HELLO 32001
