#include "HwInfoReader.h"

#include <cwchar>

HRESULT CHwInfoReader::Open(LPCWSTR iniName, HMODULE module) {
  if (!iniName) return E_POINTER;
  WCHAR self[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(module, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
  std::wstring folder(self);
  folder.resize(folder.find_last_of(L'\\') + 1);
  m_path = folder + iniName;
  return S_OK;
}

void CHwInfoReader::SetCodes(WORD maker, WORD model, LPCWSTR makerText, LPCWSTR modelText, LPCWSTR thirdText) {
  m_maker = maker;
  m_model = model;
  m_makerText = makerText ? makerText : L"";
  m_modelText = modelText ? modelText : L"";
  m_thirdText = thirdText ? thirdText : L"";
}

std::wstring CHwInfoReader::Read(LPCWSTR section, const std::wstring& key, const std::wstring& fallback) const {
  WCHAR value[257] = {};
  if (!m_path.empty())
    GetPrivateProfileStringW(section, key.c_str(), L"_ERROR_", value, 257, m_path.c_str());
  // A value the file does not hold (or holds as the marker itself) takes the fallback.
  if (!value[0] || wcscmp(value, L"_ERROR_") == 0) return fallback;
  return value;
}

std::wstring CHwInfoReader::GetMakerName() const {
  WCHAR key[16];
  swprintf(key, 16, L"Maker%04X", m_maker);
  return Read(L"MakerID", key, m_makerText);
}

std::wstring CHwInfoReader::GetModelRecord() const {
  WCHAR key[16];
  swprintf(key, 16, L"MMC%04X", m_model);
  return ModelRecord(GradeCode(m_maker, m_model), Read(L"MakerModelCode", key, m_modelText));
}

std::wstring CHwInfoReader::GradeCode(WORD maker, WORD model) {
  if (maker != 0x103) return std::wstring();
  switch (model >> 8) {
    case 0x01: return L"03";
    case 0x02: return L"04";
    case 0x03:
    case 0x04: return L"01";
    case 0x05: return L"02";
    default: return std::wstring();
  }
}

std::wstring CHwInfoReader::ModelRecord(const std::wstring& grade, const std::wstring& name) {
  std::wstring r = grade;
  r += L'\0';
  r += name;
  r += L'\0';
  r += L"0";
  r += L'\0';
  r += L"0";
  r += std::wstring(4, L'\0');
  return r;
}
