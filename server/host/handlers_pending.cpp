// Requests whose handlers are not part of this server yet: each is answered
// with an ERROR that says so, never with silence or a false success.
#include "connector.h"
#include "handlers.h"

#include <tinyxml.h>

namespace {

int NotAvailable(TiXmlElement& request, TRVConnector& connector)
{
    return connector.SetError(error_failed, request.ValueStr() + " is not available on this server yet");
}

}  // namespace

int HandleGetReportTree(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleCreateReport(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleGetTable(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleCompare(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleScan(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleGetSnmpOutput(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleCancelScan(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleSetServerInfo(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleGetServerInfo(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
int HandleStartSearch(TiXmlElement& request, TRVConnector& connector) { return NotAvailable(request, connector); }
