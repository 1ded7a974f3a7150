// The binding: Load, and the operations that forward to the service. The entry list lives in
// entry_list.cpp, dial connection tracking in dial_tracking.cpp.
#include "ras/ras_library.h"

#include <cstdlib>

#include "base/text.h"
#include "platform/profile.h"
#include "platform/result_codes.h"
#include "ras/entry_point_call.h"

namespace {

template <typename Proc>
Proc FindFunction(CLibraryLoader& loader, LibraryHandle library, const char* exportName) {
  return reinterpret_cast<Proc>(loader.FindEntryPoint(library, exportName));
}

}  // namespace

uint32_t CRasLibrary::Load(const char* phoneBookPath, const char* profileFileName) {
  CLibraryLoader& loader = CurrentLibraryLoader();
  alternativeLibraryInUse_ = 0;
  standardLibrary_ = loader.LoadByName("rasapi32.dll");
  alternativeLibrary_ = nullptr;
  if (standardLibrary_ == nullptr) {
    return kRasLibraryNotLoaded;
  }

  UINT useAlternative = GetPrivateProfileIntA("Libraries", "UseAltras", 0, profileFileName);
  if (useAlternative == 0) {
    getEntryProperties_ = FindFunction<RasGetEntryPropertiesAProc>(loader, standardLibrary_,
                                                                   "RasGetEntryPropertiesA");
    if (getEntryProperties_ == nullptr) {
      useAlternative = 1;
    }
  }
  LibraryHandle chosen = standardLibrary_;
  if (useAlternative != 0) {
    alternativeLibrary_ = loader.LoadByName("altras.dll");
    if (alternativeLibrary_ == nullptr) {
      loader.Release(standardLibrary_);
      standardLibrary_ = nullptr;
      return kAltRasLibraryNotLoaded;
    }
    getEntryProperties_ = FindFunction<RasGetEntryPropertiesAProc>(loader, alternativeLibrary_,
                                                                   "RasGetEntryPropertiesA");
    if (getEntryProperties_ == nullptr) {
      loader.Release(alternativeLibrary_);
      loader.Release(standardLibrary_);
      alternativeLibrary_ = standardLibrary_ = nullptr;
      return kAltRasLibraryNotLoaded;
    }
    alternativeLibraryInUse_ = 1;
    chosen = alternativeLibrary_;
  }

  setEntryProperties_ =
      FindFunction<RasSetEntryPropertiesAProc>(loader, chosen, "RasSetEntryPropertiesA");
  validateEntryName_ =
      FindFunction<RasValidateEntryNameAProc>(loader, chosen, "RasValidateEntryNameA");
  renameEntry_ = FindFunction<RasRenameEntryAProc>(loader, chosen, "RasRenameEntryA");
  deleteEntry_ = FindFunction<RasDeleteEntryAProc>(loader, chosen, "RasDeleteEntryA");
  getCountryInfo_ = FindFunction<RasGetCountryInfoAProc>(loader, chosen, "RasGetCountryInfoA");
  enumDevices_ = FindFunction<RasEnumDevicesAProc>(loader, chosen, "RasEnumDevicesA");

  // The dial, status, hang-up, edit, entry-list and error-text functions are not part of the
  // alternative library: they always come from rasapi32.dll.
  getConnectStatus_ =
      FindFunction<RasGetConnectStatusAProc>(loader, standardLibrary_, "RasGetConnectStatusA");
  hangUp_ = FindFunction<RasHangUpAProc>(loader, standardLibrary_, "RasHangUpA");
  dial_ = FindFunction<RasDialAProc>(loader, standardLibrary_, "RasDialA");
  editPhonebookEntry_ =
      FindFunction<RasEditPhonebookEntryAProc>(loader, standardLibrary_, "RasEditPhonebookEntryA");
  enumEntries_ = FindFunction<RasEnumEntriesAProc>(loader, standardLibrary_, "RasEnumEntriesA");
  getErrorString_ =
      FindFunction<RasGetErrorStringAProc>(loader, standardLibrary_, "RasGetErrorStringA");
  // Windows 2000 and later have the first, the 95 family and NT 4.0 the second.
  setCredentials_ =
      FindFunction<RasSetCredentialsAProc>(loader, standardLibrary_, "RasSetCredentialsA");
  setEntryDialParams_ =
      FindFunction<RasSetEntryDialParamsAProc>(loader, standardLibrary_, "RasSetEntryDialParamsA");

  entrySizeProbe_ = 0;
  phoneBookPath_ = phoneBookPath;
  // The first call into the service makes it start up now rather than in the middle of the
  // run; what it answers does not matter.
  DWORD deviceInfoSize = 0;
  getEntryProperties_(phoneBookPath_, "", nullptr, &entrySizeProbe_, nullptr, &deviceInfoSize);
  return 0;
}

uint32_t CRasLibrary::ValidateEntryName(char* entryName) {
  const uint32_t result = CallEntryPoint(validateEntryName_, phoneBookPath_, entryName);
  if (result != ERROR_ALREADY_EXISTS) {
    return result;
  }
  RASENTRYNAMEA* entries = nullptr;
  uint32_t count = 0;
  if (EnumEntries(&entries, &count) == 0) {
    for (uint32_t i = 0; i < count; ++i) {
      if (TextEqualsIgnoringCase(entryName, entries[i].szEntryName)) {
        CopyText(entryName, sizeof entries[i].szEntryName, entries[i].szEntryName);
        break;
      }
    }
  }
  std::free(entries);
  return ERROR_ALREADY_EXISTS;
}

uint32_t CRasLibrary::RenameEntry(const char* oldName, const char* newName) {
  return CallEntryPoint(renameEntry_, phoneBookPath_, oldName, newName);
}

uint32_t CRasLibrary::DeleteEntry(const char* entryName) {
  return CallEntryPoint(deleteEntry_, phoneBookPath_, entryName);
}

uint32_t CRasLibrary::GetEntryProperties(const char* entryName, RASENTRYA* entry, DWORD* entrySize,
                                         BYTE* deviceInfo, DWORD* deviceInfoSize) {
  return CallEntryPoint(getEntryProperties_, phoneBookPath_, entryName, entry, entrySize,
                        deviceInfo, deviceInfoSize);
}

uint32_t CRasLibrary::SetEntryProperties(const char* entryName, RASENTRYA* entry, DWORD entrySize,
                                         BYTE* deviceInfo, DWORD deviceInfoSize) {
  return CallEntryPoint(setEntryProperties_, phoneBookPath_, entryName, entry, entrySize,
                        deviceInfo, deviceInfoSize);
}

uint32_t CRasLibrary::GetCountryInfo(RASCTRYINFO* country, DWORD* size) {
  return CallEntryPoint(getCountryInfo_, country, size);
}

uint32_t CRasLibrary::EnumDevices(RASDEVINFOA* devices, DWORD* size, DWORD* count) {
  devices->dwSize = sizeof(RASDEVINFOA);
  return CallEntryPoint(enumDevices_, devices, size, count);
}

uint32_t CRasLibrary::EditPhonebookEntry(HWND owner, const char* entryName) {
  return CallEntryPoint(editPhonebookEntry_, owner, phoneBookPath_, entryName);
}

uint32_t CRasLibrary::GetErrorString(UINT code, char* buffer, DWORD size) {
  return CallEntryPoint(getErrorString_, code, buffer, size);
}

uint32_t CRasLibrary::LibraryKind() {
  return alternativeLibraryInUse_ != 0 ? 100 : 200;
}

uint32_t CRasLibrary::SetCredentials(const char* entryName, RASCREDENTIALSA* credentials,
                                     BOOL clearCredentials) {
  return CallEntryPoint(setCredentials_, phoneBookPath_, entryName, credentials, clearCredentials);
}

uint32_t CRasLibrary::SetEntryDialParams(RASDIALPARAMSA* parameters, BOOL removePassword) {
  return CallEntryPoint(setEntryDialParams_, phoneBookPath_, parameters, removePassword);
}
