// The third-party libraries as the Windows build links them.
#include <windows.h>
#include <zlib.h>

#include <boost/algorithm/string/trim.hpp>
#include <algorithm>
#include <boost/crc.hpp>
#include <string>
#include <vector>

#include "tinyxml.h"
#include "wtest.h"

namespace {

// Names (lower case) of the DLLs MODULE imports, from its PE import table.
std::vector<std::string> ImportedDlls(HMODULE module) {
  std::vector<std::string> names;
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return names;
  for (auto* desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name; ++desc) {
    std::string name = reinterpret_cast<const char*>(base + desc->Name);
    CharLowerA(name.data());
    names.push_back(name);
  }
  return names;
}

}  // namespace

WTEST(tinyxml_parses_and_prints_with_stl_strings) {
  TiXmlDocument doc;
  doc.Parse("<?xml version=\"1.0\"?><Tarvane><Window name=\"CLeafView\" x=\"12\"/></Tarvane>");
  WCHECK(!doc.Error());
  TiXmlElement* root = doc.RootElement();
  WCHECK(root != nullptr);
  if (!root) return;
  TiXmlElement* window = root->FirstChildElement("Window");
  WCHECK(window != nullptr);
  if (!window) return;
  const std::string* name = window->Attribute(std::string("name"));
  WCHECK(name != nullptr && *name == "CLeafView");
  int x = 0;
  WCHECK_EQ(window->QueryIntAttribute("x", &x), int(TIXML_SUCCESS));
  WCHECK_EQ(x, 12);

  window->SetAttribute("y", 5);
  std::string text;
  text << doc;
  WCHECK(text.find("y=\"5\"") != std::string::npos);

  TiXmlDocument bad;
  bad.Parse("<open><unclosed></open>");
  WCHECK(bad.Error());
}

WTEST(zlib_round_trip_is_linked_statically) {
  std::string input;
  for (int i = 0; i < 200; ++i) input += "inventory line " + std::to_string(i) + "\n";
  uLongf packed_size = compressBound(input.size());
  std::vector<Bytef> packed(packed_size);
  WCHECK_EQ(compress2(packed.data(), &packed_size, reinterpret_cast<const Bytef*>(input.data()), input.size(), 9),
            Z_OK);
  WCHECK(packed_size < input.size() / 4);
  std::string output(input.size(), '\0');
  uLongf output_size = output.size();
  WCHECK_EQ(uncompress(reinterpret_cast<Bytef*>(output.data()), &output_size, packed.data(), packed_size), Z_OK);
  WCHECK_EQ(output_size, uLongf(input.size()));
  WCHECK(output == input);
  // Linked statically: the program imports no zlib DLL. (Wine itself may
  // have its own zlib1.dll loaded, so the import table is what counts.)
  auto imports = ImportedDlls(GetModuleHandleA(nullptr));
  WCHECK(std::find(imports.begin(), imports.end(), "kernel32.dll") != imports.end());
  for (const auto& dll : imports) WCHECK(dll.find("zlib") == std::string::npos);
}

WTEST(boost_headers_are_usable) {
  WCHECK_EQ(boost::algorithm::trim_copy(std::string("  a b \t")), std::string("a b"));
  boost::crc_32_type crc;
  crc.process_bytes("123456789", 9);
  WCHECK_EQ(crc.checksum(), 0xCBF43926u);
}
