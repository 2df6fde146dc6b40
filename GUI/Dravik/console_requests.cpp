// The console's requests, each built by one member of CConnectionLink with
// its exact text, and the path of an item.
#include "connection_link.h"

#include "qr_log.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace {

// A copy of `item` renamed, as compact text; the caller's element is untouched.
std::string Wrapped(const TiXmlElement& item, const char* name)
{
    TiXmlElement copy(item);
    copy.SetValue(name);
    return PrintElement(copy);
}

}  // namespace

std::unique_ptr<TiXmlElement> CConnectionLink::SyncElement(const std::string& request, int id, int mode)
{
    const std::string reply = SendSyncRequest(request, id, mode);
    TiXmlDocument document;
    document.Parse(reply.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement* root = document.RootElement();
    if (document.Error() || !root) {
        TRV_LOG(qr_Debug_1, "Response from server was parsed with error " << document.ErrorDesc());
        // A reply that is no element is a failed exchange to the caller.
        return std::make_unique<TiXmlElement>("DISCONNECTED");
    }
    if (root->NextSibling())
        TRV_LOG(qr_Debug_1, "Response from server was parsed with error " << reply);
    else
        TRV_LOG(qr_Debug_1, "Response from server was parsed successfully");
    return std::unique_ptr<TiXmlElement>(root->Clone()->ToElement());
}

std::unique_ptr<TiXmlElement> CConnectionLink::GetTreeSibling(long root, int id)
{
    TRV_LOG(qr_Debug_1, "GETTREESIBLING request is sending to server");
    return SyncElement("<GETTREESIBLING root=\"" + std::to_string(root) + "\"/>", id, 0);
}

std::unique_ptr<TiXmlElement> CConnectionLink::GetTreeElement(long uid, int id)
{
    TRV_LOG(qr_Debug_1, "GETTREEELEMENT request is sending to server");
    return SyncElement("<GETTREEELEMENT uid=\"" + std::to_string(uid) + "\"/>", id, 0);
}

std::unique_ptr<TiXmlElement> CConnectionLink::GetTable(long tabid, int id)
{
    TRV_LOG(qr_Debug_1, "GETTABLE request is sending to server");
    return SyncElement("<GETTABLE tabid=\"" + std::to_string(tabid) + "\"/>", id, 1);
}

std::unique_ptr<TiXmlElement> CConnectionLink::GetReportTree(int id)
{
    TRV_LOG(qr_Debug_1, "GET_REPORTTREE request is sending to server");
    return SyncElement("<GET_REPORTTREE/>", id, 1);
}

std::unique_ptr<TiXmlElement> CConnectionLink::StartSearch(const std::string& value, bool by_name, int id)
{
    TRV_LOG(qr_Debug_1, "START_SEARCH request is sending to server");
    // Escaped: a quote in the searched text must not end the attribute.
    return SyncElement(std::string("<START_SEARCH ") + (by_name ? "text" : "ip") + "='" + EscapeAttribute(value) +
                           "'/>",
                       id, 1);
}

std::unique_ptr<TiXmlElement> CConnectionLink::AddTreeItem(const TiXmlElement& item, int id)
{
    TRV_LOG(qr_Debug_1, "ADDTREEITEM request is sending to server");
    return SyncElement(Wrapped(item, "ADDTREEITEM"), id, 1);
}

std::unique_ptr<TiXmlElement> CConnectionLink::GetServerInfo(int id)
{
    TRV_LOG(qr_Debug_1, "GETSERVERINFO request is sending asynchronically to server");
    return SyncElement("<GETSERVERINFO/>", id, 1);
}

void CConnectionLink::CreateReport(long type, long root, int id)
{
    TRV_LOG(qr_Debug_1, "CREATE_REPORT request is sending asynchronically to server");
    SendAsyncRequest("<CREATE_REPORT type=\"" + std::to_string(type) + "\" root=\"" + std::to_string(root) + "\"/>",
                     id);
}

void CConnectionLink::Compare(long uid1, long uid2, int id)
{
    TRV_LOG(qr_Debug_1, "COMPARE request is sending asynchronically to server");
    SendAsyncRequest("<COMPARE uid1=\"" + std::to_string(uid1) + "\" uid2=\"" + std::to_string(uid2) + "\"/>", id);
}

int CConnectionLink::RemoveBranch(int uid, int id)
{
    TRV_LOG(qr_Debug_1, "REMOVEBRANCH request is sending asynchronically to server");
    SendAsyncRequest("<REMOVEBRANCH uid=\"" + std::to_string(uid) + "\"/>", id);
    return 1;
}

int CConnectionLink::Scan(int uid, int id)
{
    TRV_LOG(qr_Debug_1, "SCAN request is sending asynchronically to server");
    SendAsyncRequest("<SCAN uid=\"" + std::to_string(uid) + "\"/>", id);
    return 0;
}

int CConnectionLink::CancelScan(int uid, int id)
{
    TRV_LOG(qr_Debug_1, "CANCELSCAN request is sending asynchronically to server");
    SendAsyncRequest("<CANCELSCAN uid=\"" + std::to_string(uid) + "\"/>", id);
    return 0;
}

int CConnectionLink::GetSnmpOutput(int uid, int id)
{
    TRV_LOG(qr_Debug_1, "GET_SNMP_OUTPUT request is sending asynchronically to server");
    SendAsyncRequest("<GET_SNMP_OUTPUT uid=\"" + std::to_string(uid) + "\"/>", id);
    return 0;
}

int CConnectionLink::ChangeItem(const TiXmlElement& item, int id)
{
    TRV_LOG(qr_Debug_1, "CHANGEITEM request is sending asynchronically to server");
    SendAsyncRequest(Wrapped(item, "CHANGEITEM"), id);
    return 1;
}

void CConnectionLink::SetServerInfo(TiXmlElement& info, int id)
{
    TRV_LOG(qr_Debug_1, "SETSERVERINFO request is sending asynchronically to server");
    info.SetValue("SETSERVERINFO");
    SendAsyncRequest(PrintElement(info), id);
}

long CConnectionLink::TemporaryUid()
{
    return std::rand() + 13;
}

bool PathOfItem(CConnectionLink& link, std::vector<long>& path, long uid, int id)
{
    std::unordered_set<long> seen;
    while (uid != -1) {
        // A parent chain that comes back to an item never reaches the top.
        if (!seen.insert(uid).second)
            return false;
        path.push_back(uid);
        std::unique_ptr<TiXmlElement> element = link.GetTreeElement(uid, id);
        if (CConnectionLink::IsFailureResponse(element.get()))
            return false;
        int parent = -1;
        if (element->QueryIntAttribute("parent", &parent) != TIXML_SUCCESS)
            return false;
        uid = parent;
    }
    path.push_back(-1);
    std::reverse(path.begin(), path.end());
    return true;
}
