// Report, table and comparison requests: the list of report definitions, a
// report built on a thread of its own, the data table of one tab of a host,
// and the comparison of two hosts. The tables are built by the inventory
// code; these handlers choose the data source and frame the reply.
#include "connector.h"
#include "handlers.h"
#include "loader.h"
#include "qr_log.h"
#include "report_thread.h"
#include "services.h"
#include "trv_server.h"

#include <tinyxml.h>

namespace {

constexpr int tab_type_software = 7;

// A report thread's way to its console. It holds the connection weakly: a
// console that has gone drops what the report still sends, and the
// connection is never kept alive by a report.
class ConnectionSink : public ReportSink {
public:
    ConnectionSink(std::weak_ptr<XMLConnector> connector, std::string client_type)
        : connector_(std::move(connector)), client_type_(std::move(client_type))
    {}
    std::string client_type() const override { return client_type_; }
    void send(const TiXmlElement& element) override
    {
        if (std::shared_ptr<XMLConnector> connector = connector_.lock())
            connector->Send(element);
    }

private:
    const std::weak_ptr<XMLConnector> connector_;
    const std::string client_type_;
};

std::shared_ptr<ReportSink> SinkOf(TRVConnector& connector)
{
    if (!connector.report_sink || connector.report_sink->client_type() != connector.GetClientType()) {
        auto* xml = dynamic_cast<XMLConnector*>(&connector);
        std::weak_ptr<XMLConnector> weak;
        if (xml != nullptr)
            weak = xml->weak_from_this();
        connector.report_sink = std::make_shared<ConnectionSink>(weak, connector.GetClientType());
    }
    return connector.report_sink;
}

std::shared_ptr<DataLoader> RequireAdminLoader(TRVConnector& connector)
{
    TRVServer* server = GetServer();
    std::shared_ptr<DataLoader> loader;
    if (server != nullptr) {
        qr_automutex hold(GlobalServerMutex());
        loader = server->FindAdminDataSource();
    }
    if (!loader)
        connector.SetError(error_failed, "Can not get data source by key ADMIN");
    return loader;
}

}  // namespace

int HandleGetReportTree(TiXmlElement& request, TRVConnector& connector)
{
    TRV_LOG(qr_Debug, "Get a report tree...");
    const std::shared_ptr<DataLoader> admin = RequireAdminLoader(connector);
    if (!admin)
        return connector.ErrorCode();
    TiXmlElement tree("REPORTTREE");
    tree.SetAttribute("synch", IntAttribute(request, "synch"));
    if (!DataLoader::get_report_tree(admin.get(), tree))
        return connector.SetError(error_failed, "Can not get report tree.");
    connector.Send(tree);
    return 0;
}

int HandleCreateReport(TiXmlElement& request, TRVConnector& connector)
{
    if (!RequireLoader(connector))
        return connector.ErrorCode();
    // The thread takes its own copy of the request; a refused start has
    // already answered the console with an ERROR.
    start_report(request, SinkOf(connector));
    return 0;
}

int HandleGetTable(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int tab = IntAttribute(request, "tabid");
    TiXmlElement table("TABLE");
    table.SetAttribute("tabid", tab);
    table.SetAttribute("synch", IntAttribute(request, "synch"));

    std::string map_name;
    std::string data_name;
    int horlayout = 0;
    const int tab_type = DataLoader::get_tab_info(loader.get(), tab, map_name, data_name, horlayout);
    TRV_LOG(qr_Info, "Ask table for tab " << map_name << ", " << data_name);

    ScanDataTable data;
    if (tab_type != -1 && !data_name.empty()) {
        const int host = DataLoader::get_tab_host(loader.get(), tab);
        std::string sys_obj_id, dns_name;
        int class_id = 0, group_id = 0, vendor_id = 0, agent_hard = 0, agent_soft = 0, agent_mon = 0, as_of = 0;
        DataLoader::get_host_record(loader.get(), host, sys_obj_id, class_id, group_id, vendor_id, agent_hard,
                                    agent_soft, agent_mon, as_of, dns_name);
        const MapLineFilter filter(map_name, sys_obj_id, class_id, group_id, vendor_id,
                                   tab_type == tab_type_software ? agent_soft : agent_hard);
        const std::shared_ptr<DataLoader> admin = RequireAdminLoader(connector);
        if (!admin)
            return connector.ErrorCode();
        const TabLayout layout = DataLoader::get_tab_layout(admin.get(), filter);
        DataLoader::read_data_table(loader.get(), data, data_name, host);
        if (data.row_count() > 0) {
            DataLoader::tab_to_xml(data, table, layout, horlayout != 0);
            table.SetAttribute("horlayout", horlayout);
            TRV_LOG(qr_Info, "Sending data table: " << map_name);
            connector.Send(table);
            return 0;
        }
    }
    return connector.SetError(error_failed, "Table not found for item.");
}

int HandleCompare(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int uid1 = IntAttribute(request, "uid1");
    const int uid2 = IntAttribute(request, "uid2");
    TRV_LOG(qr_Debug, "Get comparision table for tree items: " << uid1 << ", " << uid2);
    TiXmlElement table("TABLE");
    table.SetAttribute("synch", IntAttribute(request, "synch"));
    table.SetAttribute("compid", 1);

    if (uid1 == uid2) {
        SendLogAlert(&connector, "Can not compare tree item with itself");
        return 0;
    }
    const std::string text1 = DataLoader::get_item_title(loader.get(), uid1);
    const std::string text2 = DataLoader::get_item_title(loader.get(), uid2);
    SendLogTo(&connector, "Start comparing '" + text1 + "' and '" + text2 + "'", false);
    if (DataLoader::compare_hosts(loader.get(), table, uid1, uid2)) {
        connector.Send(table);
        TRV_LOG(qr_Info, "Response sent");
    } else {
        SendLogAlert(&connector, "No differences found between '" + text1 + "' and '" + text2 + "'");
    }
    return 0;
}
