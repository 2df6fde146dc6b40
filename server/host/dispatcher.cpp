#include "dispatcher.h"

#include "connector.h"
#include "handlers.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_socket.h"
#include "request_text.h"
#include "trv_server.h"

#include <tinyxml.h>

namespace {

struct RequestRow {
    const char* name;
    const char* arrival;     // Debug line on arrival; none for some
    RequestHandler handler;  // none: PING, answered here
};

// In the order names are compared.
const RequestRow request_table[] = {
    {"LOGIN", "Login request recieved.", HandleLogin},
    {"PING", "PING request recieved. Keeping connection alive", nullptr},
    {"ADDTREEITEM", "Add Tree Item request recieved.", HandleAddTreeItem},
    {"CHANGEITEM", "Change Tree Item request recieved.", HandleChangeItem},
    {"REMOVEBRANCH", "Remove tree branch request recieved.", HandleRemoveBranch},
    {"COPYTREEITEM", nullptr, HandleCopyTreeItem},
    {"MOVETREEITEM", nullptr, HandleMoveTreeItem},
    {"GETTREE", "Get Tree request recieved.", HandleGetTree},
    {"GETTREESIBLING", "Get Tree Sibling request recieved.", HandleGetTreeSibling},
    {"GETTREEELEMENT", "Get Tree Element request recieved.", HandleGetTreeElement},
    {"GET_REPORTTREE", "Get Report Tree request recieved.", HandleGetReportTree},
    {"CREATE_REPORT", "Create Report request recieved.", HandleCreateReport},
    {"GETTABLE", "Get Table request recieved.", HandleGetTable},
    {"COMPARE", "Compare hosts request recieved.", HandleCompare},
    {"SCAN", "Scan request recieved.", HandleScan},
    {"GET_SNMP_OUTPUT", "Scan SNMP output recieved.", HandleGetSnmpOutput},
    {"CANCELSCAN", "Cancel Scan request recieved.", HandleCancelScan},
    {"SETSERVERINFO", "Set server info command recieved.", HandleSetServerInfo},
    {"GETSERVERINFO", "Get server info command recieved.", HandleGetServerInfo},
    {"START_SEARCH", "Start search request recieved.", HandleStartSearch},
};

std::string PrintCompact(const TiXmlElement& element)
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    return printer.CStr();
}

int DispatchElement(TiXmlElement& element, XMLConnector& connector)
{
    const std::string name = element.ValueStr();
    const RequestRow* row = nullptr;
    for (const RequestRow& r : request_table) {
        if (name == r.name) {
            row = &r;
            break;
        }
    }
    if (row == nullptr) {
        if (qr_log_enabled(qr_Debug)) {
            const std::string printed = PrintCompact(element);
            TRV_LOG(qr_Debug, "Other request with name '" << name << "' recieved and ignored. REQUEST: "
                                                          << (printed.find("password=") == std::string::npos
                                                                  ? printed
                                                                  : std::string("...")));
        }
        return 0;
    }
    if (row->arrival != nullptr)
        TRV_LOG(qr_Debug, row->arrival);

    int result = 0;
    std::string where;
    if (row->handler == nullptr) {
        TiXmlElement pong("PONG");
        pong.SetAttribute("synch", IntAttribute(element, "synch"));
        connector.Send(pong);
    } else if (row->handler != HandleLogin && !connector.GetSession().IsValid()) {
        // Without a login there is no data source to work on.
        result = connector.SetError(error_not_logged_in, "Not logged in");
    } else if (!HoldsOnlyXmlText(element, where)) {
        // Stored, such a text would come back as XML that consoles refuse.
        TRV_LOG(qr_Error, "Request " << name << " refused: the value of " << where
                                     << " holds a control character");
        result = connector.SetError(error_failed, "The value of " + where +
                                                      " holds a character that XML does not allow; request refused.");
    } else {
        try {
            result = row->handler(element, connector);
        } catch (const qr_exception_t& e) {
            result = connector.SetError(error_failed, e.message());
        } catch (const std::exception& e) {
            result = connector.SetError(error_failed, e.what());
        }
    }

    if (result == 0) {
        TRV_LOG(qr_Debug, "Request processed successfully");
    } else {
        TRV_LOG(qr_Debug, "Operation failed. Reason is [" << connector.ErrorText() << "]");
        connector.SendError(connector.ErrorCode(), connector.ErrorText(), IntAttribute(element, "synch"),
                            connector.ErrorAlert());
    }
    return result;
}

}  // namespace

int DispatchRequest(TiXmlDocument& document, XMLConnector& connector)
{
    int result = 0;
    for (TiXmlNode* node = document.FirstChild(); node != nullptr; node = node->NextSibling()) {
        result = 0;
        TiXmlElement* element = node->ToElement();
        if (element == nullptr)
            continue;
        result = DispatchElement(*element, connector);
        if (result == -1)
            break;
    }
    return result;
}

void ServeConnection(Client_socket& socket, Config&)
{
    qr_thread_log_tag tag("TRV");
    auto connector = std::make_shared<XMLConnector>(socket);
    connector->SetCallback(DispatchRequest);
    try {
        connector->ProcessLoop();
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Server processor exited abnormally [" << e.message() << "]");
    } catch (const std::exception& e) {
        TRV_LOG(qr_Error, "Server processor exited abnormally [" << e.what() << "]");
    }
    if (TRVServer* server = GetServer())
        server->Sessions().Remove(connector.get());
    // Senders may still hold the connector; none of them touches the socket now.
    connector->Close();
}
