// Tree requests: read the inventory tree of the connection's client type, or
// change it and announce the change to every console of that type.
#include "connector.h"
#include "handlers.h"
#include "loader.h"
#include "qr_log.h"
#include "scanner.h"
#include "services.h"
#include "trv_server.h"

#include <ctime>
#include <tinyxml.h>

namespace {

constexpr int type_inventory = 1;
constexpr int type_host = 3;
constexpr int error_not_found = 8;

void Broadcast(const TiXmlElement& element, TRVConnector& connector)
{
    SendToClientsOfType(element, connector.GetClientType());
}

// A copy or move the loader refused (or that failed): the requester gets the
// ERROR, every console of the type the LOG line.
int CopyOrMoveFailed(TRVConnector& connector, const std::string& message)
{
    connector.SetError(error_failed, message);
    SendLogBroadcast(message, connector.GetClientType());
    return error_failed;
}

// COPYTREEITEM and MOVETREEITEM: the resulting item goes to every console of
// the type with the requester's synch.
int CopyOrMove(TiXmlElement& request, TRVConnector& connector, bool copy)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int synch = IntAttribute(request, "synch");
    const int uid = IntAttribute(request, "id");
    const int parent = IntAttribute(request, "toparent");
    TRV_LOG(qr_Info, (copy ? "Copy" : "Move") << " tree item request, id: " << uid);
    const int result = copy ? DataLoader::copy_tree_item(loader.get(), uid, parent)
                            : DataLoader::move_tree_item(loader.get(), uid, parent);
    if (result == -1)
        return CopyOrMoveFailed(connector, copy ? "Can not copy item." : "Can not move item.");
    SendTreeItem(result, connector.GetClientType(), nullptr, synch);
    return 0;
}

}  // namespace

int HandleGetTree(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int root = IntAttribute(request, "root");
    TiXmlElement tree("TREE");
    tree.SetAttribute("root", root);
    tree.SetAttribute("synch", IntAttribute(request, "synch"));
    TRV_LOG(qr_Debug, "Trying to get tree for parent '" << root << "'");
    DataLoader::children_to_xml(loader.get(), root, tree, false);
    connector.Send(tree);
    return 0;
}

int HandleGetTreeSibling(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int root = IntAttribute(request, "root");
    TiXmlElement siblings("TREESIBLINGS");
    siblings.SetAttribute("root", root);
    siblings.SetAttribute("synch", IntAttribute(request, "synch"));
    TRV_LOG(qr_Debug, "Trying to get tree siblings for parent '" << root << "'");
    if (DataLoader::children_to_xml(loader.get(), root, siblings, true) == 0 &&
        DataLoader::hosts_to_xml(loader.get(), root, siblings, true) == 0)
        DataLoader::tabs_to_xml(loader.get(), root, siblings);
    connector.Send(siblings);
    return 0;
}

int HandleGetTreeElement(TiXmlElement& request, TRVConnector& connector)
{
    if (!RequireLoader(connector))
        return connector.ErrorCode();
    const int uid = IntAttribute(request, "uid");
    if (SendTreeItem(uid, connector.GetClientType(), &connector, IntAttribute(request, "synch")) != 0)
        return connector.ErrorCode();
    return 0;
}

int HandleAddTreeItem(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int console_uid = IntAttribute(request, "uid");
    const int parent = IntAttribute(request, "parent", 0);
    const int synch = IntAttribute(request, "synch");
    const int startscan = IntAttribute(request, "startscan", 0);
    const std::string name = TextAttribute(request, "name");
    const int type = IntAttribute(request, "type", 0);

    const int uid = DataLoader::new_uid(loader.get());
    if (uid <= 0)
        return connector.SetError(error_failed, "Can not add tree item.");
    TRV_LOG(qr_Info, "Add Tree Item request, id: " << uid << ", name: " << name);

    TreeItemRecord item;
    item.uid = uid;
    item.parentid = parent;
    item.type = type;
    item.name = name;
    item.TimeStmp = static_cast<int>(std::time(nullptr));
    if (type == type_inventory)
        item.Tabs2Scan = TextAttribute(request, "tabs");
    DataLoader::insert_tree_item(loader.get(), item, type == type_inventory ? &request : nullptr);

    // The only answer: the requester pairs it through trvid and synch.
    TiXmlElement element = DataLoader::item_to_xml(loader.get(), uid);
    element.SetAttribute("trvid", console_uid);
    element.SetAttribute("synch", synch);
    Broadcast(element, connector);

    if (startscan != 0) {
        // The scan belongs to the new item, not to the console's provisional
        // uid: its end names the item the console now shows.
        Scanner* scanner = Scanner::instance();
        if (scanner == nullptr)
            return connector.SetError(error_failed, "Can not start scan.");
        if (!AdminReadyForScan(connector))
            return error_failed;
        const int scan_id = scanner->add_scan(uid, connector.GetClientType());
        try {
            StartSnapshotScan(scan_id, uid, false, synch, connector.GetClientType(), &connector);
        } catch (...) {
            scanner->scans().remove_scan(scan_id);
            throw;
        }
    }
    return 0;
}

int HandleChangeItem(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int uid = IntAttribute(request, "uid");
    const int synch = IntAttribute(request, "synch");
    const std::string name = TextAttribute(request, "name");
    const int type = IntAttribute(request, "type", 0);
    TRV_LOG(qr_Info, "Change Tree Item request, id: " << uid << ", name: " << name);

    if (type == type_host) {
        DataLoader::set_host_dns_name(loader.get(), uid, name);
    } else {
        TreeItemRecord item;
        item.uid = uid;
        item.parentid = IntAttribute(request, "parent", 0);
        item.type = type;
        // A rename or a lock leaves the status alone: a snapshot being
        // scanned stays "scanning" for every console until its scan ends.
        item.status = keep_status;
        item.locked = IntAttribute(request, "locked", 0);
        item.name = name;
        if (type == type_inventory)
            item.Tabs2Scan = TextAttribute(request, "tabs");
        DataLoader::update_tree_item(loader.get(), item, type == type_inventory ? &request : nullptr);
    }

    TiXmlElement element = DataLoader::item_to_xml(loader.get(), uid);
    element.SetAttribute("synch", synch);
    Broadcast(element, connector);
    return 0;
}

int HandleRemoveBranch(TiXmlElement& request, TRVConnector& connector)
{
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int uid = IntAttribute(request, "uid");
    TRV_LOG(qr_Info, "Remove tree item request, id: " << uid);
    const int synch = IntAttribute(request, "synch");
    if (uid <= 0) {
        // A missing uid reads 0; neither it nor -1 names an item: they name
        // the top level.
        TRV_LOG(qr_Error, "Remove tree item request without an item's uid refused");
        return connector.SetError(error_failed, "Can not remove tree item: no item uid given.");
    }

    // An unknown item is the requester's error alone: nothing was removed
    // that other consoles should hear of. A host's parent is its snapshot.
    int parent = -1;
    switch (DataLoader::get_item_type(loader.get(), uid)) {
    case -1:
        return connector.SetError(error_not_found, "Can not find element with id=" + std::to_string(uid));
    case type_host:
        parent = DataLoader::get_host_as_of(loader.get(), uid);
        break;
    default:
        parent = DataLoader::get_parent_id(loader.get(), uid);
        break;
    }
    if (DataLoader::remove_tree_element(loader.get(), uid) != 0)
        return connector.SetError(error_failed, "Can not remove tree item.");

    TiXmlElement removed("REMOVEBRANCH");
    removed.SetAttribute("parent", parent);
    removed.SetAttribute("uid", uid);
    removed.SetAttribute("synch", synch);
    Broadcast(removed, connector);
    return 0;
}

int HandleCopyTreeItem(TiXmlElement& request, TRVConnector& connector)
{
    return CopyOrMove(request, connector, true);
}

int HandleMoveTreeItem(TiXmlElement& request, TRVConnector& connector)
{
    return CopyOrMove(request, connector, false);
}
