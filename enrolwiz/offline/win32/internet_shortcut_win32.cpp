// The shell's Internet shortcut object. Its target is set through
// INewShortcutHookA where the object offers it, else through
// IUniformResourceLocatorA, which every version of the object offers.
#include <windows.h>

#include <objbase.h>
// After objbase.h, which declares the interfaces' macros.
#include <intshcut.h>
#include <shlguid.h>
#include <shlobj.h>

#include "offline/internet_shortcut.h"

namespace {

template <class Interface>
Interface* query(IUnknown* object, REFIID id)
{
  void* found = nullptr;
  return SUCCEEDED(object->QueryInterface(id, &found)) ? static_cast<Interface*>(found) : nullptr;
}

bool setTarget(IUnknown* shortcut, const CString& address)
{
  if (auto* hook = query<INewShortcutHookA>(shortcut, IID_INewShortcutHookA)) {
    bool set = SUCCEEDED(hook->SetReferent(address, nullptr));
    hook->Release();
    return set;
  }
  if (auto* locator = query<IUniformResourceLocatorA>(shortcut, IID_IUniformResourceLocatorA)) {
    bool set = SUCCEEDED(locator->SetURL(address, 0));
    locator->Release();
    return set;
  }
  return false;
}

}  // namespace

bool saveInternetShortcut(const CString& path, const CString& address)
{
  IUnknown* shortcut = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&shortcut))))
    return false;
  bool saved = false;
  WCHAR widePath[MAX_PATH];
  if (setTarget(shortcut, address) && ::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) > 0) {
    if (auto* file = query<IPersistFile>(shortcut, IID_IPersistFile)) {
      saved = SUCCEEDED(file->Save(widePath, FALSE));
      file->Release();
    }
  }
  shortcut->Release();
  return saved;
}
