// Names of PCI vendors, devices and subsystems from the PCI names file
// "pci.ids.txt" in the program folder (the published PCI ID list in its
// tab-indented form). The file's lines are read once per process into a
// cache shared by every thread; a file that cannot be read is tried again
// at the next lookup.
#pragma once

#include <string>
#include <vector>

constexpr const char* PciNamesFile = "pci.ids.txt";

// Upper-cased outside quotes, without a leading "0X".
std::string normalise_pci_id(const std::string& id);
// The rest of `line` after `key`, trimmed of blanks at both ends.
std::string text_after_key(const std::string& line, const std::string& key);
// The name on the first line that starts with `key`; the tab-indented lines
// after it go to `sub_lines`. Without a match the key itself; the empty
// text when the file cannot be read.
std::string read_pci_ids(const std::string& key, const std::string& folder,
                         std::vector<std::string>& sub_lines);
// ids: vendor, device, subsystem vendor, subsystem. Each becomes its name,
// or stays as its normalised id when it has none.
void lookup_pci_names(std::string ids[4], const std::string& folder);
