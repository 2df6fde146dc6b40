// Tree requests and the tree-item senders wait for the inventory's TREEITEM
// builders; until then they answer with an ERROR and send nothing.
#include "connector.h"
#include "handlers.h"
#include "trv_server.h"

#include <tinyxml.h>

namespace {
int NotYet(TiXmlElement& request, TRVConnector& connector)
{
    return connector.SetError(error_failed, request.ValueStr() + " is not available on this server yet");
}
}  // namespace

int HandleAddTreeItem(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleChangeItem(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleRemoveBranch(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleCopyTreeItem(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleMoveTreeItem(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleGetTree(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleGetTreeSibling(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
int HandleGetTreeElement(TiXmlElement& r, TRVConnector& c) { return NotYet(r, c); }
std::string TRVServer::GetItemTitle(const std::string&, int) { return std::string(); }
void TRVServer::BroadcastTreeItem(Job*, int) {}
int TRVServer::SendTreeItem(int, const std::string&, TRVConnector*, int) { return 1; }
void TRVServer::SendTreeItemList(int, int, const std::string&, int, TRVConnector*) {}
