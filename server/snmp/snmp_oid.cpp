#include "snmp_oid.h"

#include "snmp_scramble.h"

#include <algorithm>

bool parse_oid_arcs(const std::string& text, std::vector<uint32_t>& arcs)
{
    arcs.clear();
    size_t i = (!text.empty() && text[0] == '.') ? 1 : 0;
    if (i >= text.size())
        return false;
    while (true) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        uint64_t arc = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            arc = arc * 10 + static_cast<uint64_t>(text[i] - '0');
            if (arc > 0xFFFFFFFFu)
                return false;
            ++i;
        }
        arcs.push_back(static_cast<uint32_t>(arc));
        if (i == text.size())
            return true;
        if (text[i] != '.')
            return false;
        ++i;
    }
}

bool oid_in_subtree(const std::vector<uint32_t>& root, const std::vector<uint32_t>& oid)
{
    return oid.size() >= root.size() && std::equal(root.begin(), root.end(), oid.begin());
}

bool oid_less(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

bool is_qor_oid(const std::string& text)
{
    static const std::vector<uint32_t> qor = [] {
        std::vector<uint32_t> arcs;
        parse_oid_arcs(QorEnterpriseOid, arcs);
        return arcs;
    }();
    std::vector<uint32_t> arcs;
    return parse_oid_arcs(text, arcs) && oid_in_subtree(qor, arcs);
}
