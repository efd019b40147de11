// Copies or moves dropped files into a tree folder through the verified file operation,
// then makes the photo database and the content files follow the names written.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "dropop/DropRules.h"

class CCardFileOperation {
 public:
  virtual ~CCardFileOperation() {}

  // 1 when every file reached the folder, else 0 (a refused block touches nothing).
  int Drop(LPCSTR lpszTargetFolder, const void* pBlock, size_t cbBlock, DWORD dwEffect);
  int Drop(LPCSTR lpszTargetFolder, HDROP hDrop, DWORD dwEffect);
  // The same for a list already read (paste). pWritten receives the paths written, also
  // after a failure (those that passed the check); hOwner owns the progress and errors
  // (the active window when null).
  int DropPaths(LPCSTR lpszTargetFolder, const std::vector<std::string>& paths, DWORD dwEffect,
                std::vector<std::string>* pWritten = nullptr, HWND hOwner = nullptr);

  // The dropped paths as one NUL-separated list ending in two NULs; empty when refused.
  static std::string BuildDropList(const void* pBlock, size_t cbBlock, dropop::DropListFault* pFault = nullptr);

  // Renames the members of every content file among the written paths after the name its
  // file received: 0, E_POINTER without a list, or the first failure.
  static HRESULT RepairContentFiles(const std::vector<std::string>& written);

  dropop::DropListFault LastFault() const { return m_fault; }

 private:
  dropop::DropListFault m_fault = dropop::DropListFault::None;
};
