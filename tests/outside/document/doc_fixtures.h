// Test fixtures of the document library: a private profile and photo database for the
// program, scratch folders with generated media, and a view that records its hints.
#pragma once

#include <VxDocument.h>
#include <pump.h>

#include <string>
#include <vector>

namespace doctest {

// build/bin/testdata\<name>
std::string Fixture(const char* name);
// A fresh folder below the program's scratch folder (removed when the program ends).
std::string ScratchDir(const char* sub);
bool CopyFixture(const char* fixture, const std::string& to);
bool WriteText(const std::string& path, const std::string& text);
// The program's profile root below HKCU (a private "Software\GlimoraTest\vxdoc-…\Marlo5").
std::string ProfileRoot();
void WriteProfileString(const char* section, const char* key, const char* value);
void WriteProfileInt(const char* section, const char* key, int value);
// Removes a profile section (and its sub-sections).
void RemoveProfileSection(const char* section);
// Runs every waiting message of the thread.
using testsupport::PumpPending;

// One hint as a view saw it.
struct SeenHint {
  LPARAM hint;
  bool command;    // the object was a CSendCommandObject
  UINT id;
  UINT_PTR value;
  void* param;
};

}  // namespace doctest

// A view without a window that records every hint it gets.
class CRecordingView : public CView {
  DECLARE_DYNCREATE(CRecordingView)
 public:
  std::vector<doctest::SeenHint> m_seen;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

 protected:
  void OnDraw(CDC*) override {}
};
