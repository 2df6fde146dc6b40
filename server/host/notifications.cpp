// The tree-item senders of the server object: each element is built through
// the client type's loader (held for the call) and sent to one connection or
// to every console of the type.
#include "connector.h"
#include "job.h"
#include "loader.h"
#include "trv_server.h"

#include <tinyxml.h>

std::string TRVServer::GetItemTitle(const std::string& client_type, int uid)
{
    const std::shared_ptr<DataLoader> loader = Lookup(client_type, true);
    return loader ? DataLoader::get_item_title(loader.get(), uid) : std::string();
}

int TRVServer::SendTreeItem(int uid, const std::string& client_type, TRVConnector* connector, int synch)
{
    const std::shared_ptr<DataLoader> loader = Lookup(client_type, true);
    TiXmlElement item("TREEITEM");
    if (!loader || DataLoader::read_item(loader.get(), uid, item) != 0) {
        if (connector != nullptr)
            connector->SetError(8, "Can not find element with id=" + std::to_string(uid));
        return 1;
    }
    if (synch != -1)
        item.SetAttribute("synch", synch);
    if (connector != nullptr)
        connector->Send(item);
    else
        SendToClientsOfType(item, client_type);
    return 0;
}

void TRVServer::BroadcastTreeItem(Job* job, int)
{
    if (job == nullptr)
        return;
    // The host's row is written before its item is announced, so the stored
    // row is what the job found.
    SendTreeItem(job->get_host_uid(), job->get_source_key(), nullptr, -1);
}

void TRVServer::SendTreeItemList(int uid, int value, const std::string& client_type, int synch,
                                 TRVConnector* connector)
{
    const std::shared_ptr<DataLoader> loader = Lookup(client_type, true);
    if (!loader)
        return;
    if (DataLoader::get_item_type(loader.get(), uid) == 3)
        uid = DataLoader::get_host_as_of(loader.get(), uid);
    PairArray changed;
    DataLoader::update_internal_scans(loader.get(), uid, changed, value != 0);
    for (int i = changed.Count() - 1; i >= 0; --i) {
        TiXmlElement item = DataLoader::item_to_xml(loader.get(), changed[i].first);
        if (synch != -1)
            item.SetAttribute("synch", synch);
        if (connector != nullptr)
            connector->Send(item);
        else
            SendToClientsOfType(item, client_type);
    }
}
