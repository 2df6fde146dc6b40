#include "services.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <tinyxml.h>

#include <atomic>

namespace {

// The one server object, or a test's stand-in; see SetServerServices().
std::atomic<ServerServices*> g_services{nullptr};

ServerServices& Required(const char* what)
{
    ServerServices* services = g_services.load();
    if (services == nullptr)
        qr_exception("%s: the server is not running", what);
    return *services;
}

TiXmlElement LogElement(const std::string& text, bool alert)
{
    TiXmlElement log("LOG");
    log.SetAttribute("text", text);
    if (alert)
        log.SetAttribute("alert", "1");
    return log;
}

void BroadcastLog(ServerServices& services, const std::string& message,
                  const std::string& client_type, const std::string& address, bool alert)
{
    services.SendToClientsOfType(
        LogElement(LogLineText(services.CurrentTimeText(), address, message), alert), client_type);
}

}  // namespace

ServerServices* SetServerServices(ServerServices* services)
{
    return g_services.exchange(services);
}

ServerServices* GetServerServices()
{
    return g_services.load();
}

DataLoader* GetDataSource(const std::string& client_type)
{
    ServerServices* services = g_services.load();
    DataLoader* loader = services ? services->GetDataSource(client_type) : nullptr;
    if (loader == nullptr)
        TRV_LOG(qr_Error, "Can not get data source by key " << client_type);
    return loader;
}

DataLoader* GetAdminDataSource()
{
    ServerServices* services = g_services.load();
    return services ? services->GetAdminDataSource() : nullptr;
}

qr_mutex& GetDatabaseMutex()
{
    return Required("GetDatabaseMutex").GetDatabaseMutex();
}

std::string GetServerHost()
{
    return Required("GetServerHost").GetServerHost();
}

void SendToClientsOfType(const TiXmlElement& element, const std::string& client_type)
{
    if (ServerServices* services = g_services.load())
        services->SendToClientsOfType(element, client_type);
}

void SendLogTo(TRVConnector* connector, const std::string& text, bool alert,
               const std::string& address)
{
    ServerServices* services = g_services.load();
    if (services == nullptr || connector == nullptr)
        return;
    services->SendTo(connector,
                     LogElement(LogLineText(services->CurrentTimeText(), address, text), alert));
}

void SendLogAlert(TRVConnector* connector, const std::string& text)
{
    ServerServices* services = g_services.load();
    if (services == nullptr || connector == nullptr)
        return;
    services->SendTo(connector, LogElement(text, true));
}

void SendLogBroadcast(const std::string& text, const std::string& client_type,
                      const std::string& address, bool alert)
{
    if (ServerServices* services = g_services.load())
        BroadcastLog(*services, text, client_type, address, alert);
}

void BroadcastTreeItem(Job* job, int flag)
{
    if (ServerServices* services = g_services.load())
        services->BroadcastTreeItem(job, flag);
}

int SendTreeItem(int uid, const std::string& client_type, TRVConnector* connector, int synch)
{
    ServerServices* services = g_services.load();
    return services ? services->SendTreeItem(uid, client_type, connector, synch) : 1;
}

void SendTreeItemList(int uid, int value, const std::string& client_type, int synch,
                      TRVConnector* connector)
{
    if (ServerServices* services = g_services.load())
        services->SendTreeItemList(uid, value, client_type, synch, connector);
}

void SendEndScan(int root_uid, const std::string& client_type, bool aborted)
{
    TRV_LOG(qr_Debug, "SendEndScan");
    ServerServices* services = g_services.load();
    if (services == nullptr)
        return;
    std::string title = services->GetItemTitle(client_type, root_uid);
    if (!title.empty())
        title = "<" + title + ">";
    BroadcastLog(*services,
                 "Scan " + title + (aborted ? " has been aborted." : " has been completed."),
                 client_type, std::string(), false);
    std::string end = "End Scan " + title;
    if (end.size() < 80)
        end.append(80 - end.size(), '-');
    BroadcastLog(*services, end, client_type, std::string(), false);
}

void SendSNMPOutput(int host_uid, const std::string& client_type, const std::string& address,
                    const std::vector<std::vector<std::string>>& output)
{
    ServerServices* services = g_services.load();
    if (services == nullptr)
        return;
    TiXmlElement element("SNMP_OUTPUT");
    element.SetAttribute("uid", host_uid);
    for (const std::vector<std::string>& group : output) {
        for (const std::string& line : group) {
            TiXmlElement ln("LN");
            ln.SetAttribute("d", line);
            element.InsertEndChild(ln);
        }
    }
    services->SendToClientsOfType(element, client_type);
    BroadcastLog(*services, "ip:" + address + " SNMP output data was sent.", client_type, address,
                 false);
    BroadcastLog(*services,
                 "End Getting SNMP Output "
                 "---------------------------------------------------------",
                 client_type, address, false);
}

std::string LogLineText(const std::string& time_text, const std::string& address,
                        const std::string& message)
{
    std::string text = time_text;
    if (!address.empty())
        text += " ip:" + address;
    text += ' ';
    text += message;
    return text;
}
