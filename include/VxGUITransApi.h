// Export macro of the browser library VxGUITrans.dll: its view classes, splitter and
// GetCGBrowser are exported whole and used by the main program.
#pragma once

#ifdef VXGUITRANS_BUILD
#define VXGUITRANS_API __declspec(dllexport)
#else
#define VXGUITRANS_API __declspec(dllimport)
#endif
