// The TABLE element of a tab, as the request handlers send it.
#include "loader.h"

#include "table_xml.h"

int DataLoader::tab_to_xml(const ScanDataTable& table, TiXmlElement& element, const TabLayout& layout,
                           bool horizontal)
{
    build_table_xml(table, element, layout, horizontal);
    return 0;
}
