// Maker and model names of a device from the hardware-information file
// (Core\MediaHwInfo.ini beside the program), with fallback texts for codes it lacks.
#pragma once
#include <windows.h>

#include <string>

class CHwInfoReader {
 public:
  // The file iniName in the folder of module (null: the running program). E_POINTER
  // without a name; the file itself is read only when asked.
  HRESULT Open(LPCWSTR iniName, HMODULE module);
  // The same with a path of its own (tests).
  void OpenPath(const std::wstring& path) { m_path = path; }
  void SetCodes(WORD maker, WORD model, LPCWSTR makerText, LPCWSTR modelText, LPCWSTR thirdText);
  // The maker's name ("MakerID", "Maker%04X"), else the maker fallback.
  std::wstring GetMakerName() const;
  // The model record: grade code, NUL, model name, NUL, "0", NUL, "0", NUL and four NULs.
  // The model name is "MakerModelCode", "MMC%04X", else the model fallback.
  std::wstring GetModelRecord() const;

  // The two-character grade of a model: only for maker 0x103, by the model code's high byte.
  static std::wstring GradeCode(WORD maker, WORD model);
  static std::wstring ModelRecord(const std::wstring& grade, const std::wstring& name);

 private:
  std::wstring Read(LPCWSTR section, const std::wstring& key, const std::wstring& fallback) const;
  std::wstring m_path;
  WORD m_maker = 0, m_model = 0;
  std::wstring m_makerText, m_modelText, m_thirdText;
};
