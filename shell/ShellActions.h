// Small actions of the main program that several commands and messages share.
#pragma once
#include <fw/fw.h>

// The manual: "<program folder>\Manual\" + profile Common\Manual ("manual.pdf"), opened
// with the shell when a PDF reader is there; otherwise string 328.
void OpenManual();

// A web page of the profile (Common\InfoMapURL, Common\SupportURL) opened with the shell.
void OpenProfileWebPage(LPCSTR lpszKey, LPCSTR lpszDefault);

// The display rule while running: FALSE below 1024 x 768 x 16 unless a screen saver runs.
BOOL IsDisplayFitWhileRunning();
