#include "handlers.h"

#include "connector.h"
#include "trv_server.h"

#include <tinyxml.h>

int IntAttribute(const TiXmlElement& element, const char* name, int def)
{
    int value = def;
    if (element.QueryIntAttribute(name, &value) != TIXML_SUCCESS)
        return def;
    return value;
}

std::string TextAttribute(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? value : std::string();
}

std::shared_ptr<DataLoader> RequireLoader(TRVConnector& connector)
{
    TRVServer* server = GetServer();
    std::shared_ptr<DataLoader> loader;
    if (server != nullptr) {
        qr_automutex hold(GlobalServerMutex());
        loader = server->FindDataSource(connector.GetClientType());
    }
    if (!loader)
        connector.SetError(error_failed, "Can not get data source by key " + connector.GetClientType());
    return loader;
}
