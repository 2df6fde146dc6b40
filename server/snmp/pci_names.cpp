#include "pci_names.h"

#include "qr_log.h"
#include "qr_strings.h"
#include "qr_sync.h"

#include <cstdio>
#include <memory>

namespace {

typedef std::vector<std::string> Lines;

qr_mutex g_cache_mutex;
std::shared_ptr<const Lines> g_cache GUARDED_BY(g_cache_mutex);  // never changed once set

// The cached lines, reading the file when the cache is still empty. The
// lines are kept upper-cased outside quotes, the form every lookup compares.
std::shared_ptr<const Lines> cached_lines(const std::string& folder)
{
    qr_automutex lock(g_cache_mutex);
    if (g_cache)
        return g_cache;
    std::string path = folder + "/" + PciNamesFile;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file) {
        TRV_LOG(qr_Info, "Cannot open file '" << path << "'");
        return nullptr;
    }
    auto lines = std::make_shared<Lines>();
    char buffer[501];
    while (std::fgets(buffer, sizeof buffer, file.get())) {
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        UpperOutsideQuotes(line);
        lines->push_back(std::move(line));
    }
    g_cache = lines;
    return g_cache;
}

bool starts_with(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string normalise_pci_id(const std::string& id)
{
    std::string text = id;
    UpperOutsideQuotes(text);
    if (starts_with(text, "0X"))
        text.erase(0, 2);
    return text;
}

std::string text_after_key(const std::string& line, const std::string& key)
{
    std::string rest = line.size() > key.size() ? line.substr(key.size()) : std::string();
    Trim(rest);
    return rest;
}

std::string read_pci_ids(const std::string& key, const std::string& folder, Lines& sub_lines)
{
    sub_lines.clear();
    std::shared_ptr<const Lines> lines = cached_lines(folder);
    if (!lines)
        return std::string();
    for (size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (!starts_with(line, key))
            continue;
        for (size_t j = i + 1; j < lines->size() && !(*lines)[j].empty() && (*lines)[j][0] == '\t'; ++j)
            sub_lines.push_back((*lines)[j]);
        return text_after_key(line, key);
    }
    return key;
}

void lookup_pci_names(std::string ids[4], const std::string& folder)
{
    for (int i = 0; i < 4; ++i)
        ids[i] = normalise_pci_id(ids[i]);
    const std::string& vendor = ids[0];
    const std::string& device = ids[1];
    const std::string& sub_vendor = ids[2];
    const std::string& sub_device = ids[3];

    Lines vendor_lines;
    Lines ignored;
    std::string vendor_name = vendor.empty() ? vendor : read_pci_ids(vendor, folder, vendor_lines);
    std::string sub_vendor_name = sub_vendor.empty() ? sub_vendor : read_pci_ids(sub_vendor, folder, ignored);
    std::string device_name = device;
    std::string sub_name = sub_device;
    if (!device.empty()) {
        std::string device_key = "\t" + device;
        for (size_t i = 0; i < vendor_lines.size(); ++i) {
            if (!starts_with(vendor_lines[i], device_key) ||
                (vendor_lines[i].size() > 1 && vendor_lines[i][1] == '\t'))
                continue;
            device_name = text_after_key(vendor_lines[i], device_key);
            std::string sub_key = "\t\t" + sub_vendor + " " + sub_device;
            for (size_t j = i + 1; j < vendor_lines.size() && starts_with(vendor_lines[j], "\t\t"); ++j) {
                if (starts_with(vendor_lines[j], sub_key)) {
                    sub_name = text_after_key(vendor_lines[j], sub_key);
                    break;
                }
            }
            break;
        }
    }
    ids[0] = vendor_name;
    ids[1] = device_name;
    ids[2] = sub_vendor_name;
    ids[3] = sub_name;
}
