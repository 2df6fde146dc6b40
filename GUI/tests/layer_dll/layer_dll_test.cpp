// One class layer per process: the program and a peer DLL share trvmfc.dll's
// data; exceptions thrown in one module are caught in another.
#include <windows.h>

#include <memory>
#include <string>

#include "layer_peer.h"
#include "trvmfc_version.h"
#include "wtest.h"

namespace {

std::string module_file_of(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module))
    return "";
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  std::string name = path;
  std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  CharLowerA(name.data());
  return name;
}

}  // namespace

WTEST(loaded_layer_matches_the_headers) {
  WCHECK_EQ(TrvMfcVersion(), unsigned(TRVMFC_VERSION));
  WCHECK_EQ(PeerLayerVersion(), unsigned(TRVMFC_VERSION));
}

WTEST(layer_data_is_one_object_in_the_layer_dll) {
  WCHECK(GetModuleHandleA("trvmfc.dll") != nullptr);
  WCHECK_EQ(PeerLayerVersionData(), &TrvMfcVersionData);
  WCHECK_EQ(module_file_of(&TrvMfcVersionData), std::string("trvmfc.dll"));
  WCHECK_EQ(module_file_of(reinterpret_cast<const void*>(&PeerThrow)), std::string("layer_peer.dll"));
}

WTEST(exceptions_cross_module_boundaries) {
  bool by_value = false;
  try {
    PeerThrow(7, false);
  } catch (const std::runtime_error& e) {
    const auto* peer = dynamic_cast<const PeerError*>(&e);
    by_value = peer && peer->code() == 7 && std::string(e.what()) == "peer error 7";
  }
  WCHECK(by_value);

  // The layer's exception style: a heap object thrown as a pointer, caught as
  // a base pointer and deleted by the catcher.
  std::unique_ptr<std::runtime_error> caught;
  try {
    PeerThrow(9, true);
  } catch (std::runtime_error* e) {
    caught.reset(e);
  }
  WCHECK(caught != nullptr);
  if (caught) WCHECK_EQ(std::string(caught->what()), std::string("peer error 9"));
}

WTEST(ansi_code_page_is_1252) {
  // The layer's text is 8-bit ANSI; tests rely on the runner's fixed locale.
  WCHECK_EQ(GetACP(), UINT(1252));
}
