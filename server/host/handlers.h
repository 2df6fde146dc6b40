// The request handlers of the dispatcher. Each runs on the connection's
// thread with the request element and its connector and returns 0 after
// sending its reply (if it has one), or the code it stored with
// TRVConnector::SetError, which the dispatcher answers with ERROR.
#pragma once

#include <memory>
#include <string>

class DataLoader;
class TRVConnector;
class TiXmlElement;

typedef int (*RequestHandler)(TiXmlElement& request, TRVConnector& connector);

// General failure code of the handlers.
constexpr int error_failed = 254;

int HandleLogin(TiXmlElement& request, TRVConnector& connector);

int HandleAddTreeItem(TiXmlElement& request, TRVConnector& connector);
int HandleChangeItem(TiXmlElement& request, TRVConnector& connector);
int HandleRemoveBranch(TiXmlElement& request, TRVConnector& connector);
int HandleCopyTreeItem(TiXmlElement& request, TRVConnector& connector);
int HandleMoveTreeItem(TiXmlElement& request, TRVConnector& connector);
int HandleGetTree(TiXmlElement& request, TRVConnector& connector);
int HandleGetTreeSibling(TiXmlElement& request, TRVConnector& connector);
int HandleGetTreeElement(TiXmlElement& request, TRVConnector& connector);

int HandleGetReportTree(TiXmlElement& request, TRVConnector& connector);
int HandleCreateReport(TiXmlElement& request, TRVConnector& connector);
int HandleGetTable(TiXmlElement& request, TRVConnector& connector);
int HandleCompare(TiXmlElement& request, TRVConnector& connector);
int HandleScan(TiXmlElement& request, TRVConnector& connector);
int HandleGetSnmpOutput(TiXmlElement& request, TRVConnector& connector);
int HandleCancelScan(TiXmlElement& request, TRVConnector& connector);
int HandleSetServerInfo(TiXmlElement& request, TRVConnector& connector);
int HandleGetServerInfo(TiXmlElement& request, TRVConnector& connector);
int HandleStartSearch(TiXmlElement& request, TRVConnector& connector);

// The integer attribute, or `def` when it is missing or not a number.
int IntAttribute(const TiXmlElement& element, const char* name, int def = 0);
// The text attribute, or the empty text.
std::string TextAttribute(const TiXmlElement& element, const char* name);
// The connector's client type's loader, held for the request; none (with the
// error stored on the connector) when the data source is not open.
std::shared_ptr<DataLoader> RequireLoader(TRVConnector& connector);
