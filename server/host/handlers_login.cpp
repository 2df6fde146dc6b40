// LOGIN: names the connection's client type, opens that type's data source
// and gives the connection a session, new or taken up from an earlier one.
#include "connector.h"
#include "datasource_files.h"
#include "handlers.h"
#include "loader.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "services.h"
#include "trv_server.h"

#include <tinyxml.h>

int HandleLogin(TiXmlElement& request, TRVConnector& connector)
{
    if (connector.GetSession().IsValid())
        return connector.SetError(4, "Connection already autorized!");
    TRVServer* server = GetServer();
    auto* self = dynamic_cast<XMLConnector*>(&connector);
    if (server == nullptr || self == nullptr)
        return connector.SetError(error_failed, "The server is not running");

    const std::string con_id = TextAttribute(request, "ConID");  // consoles send it empty; unused
    const std::string type = TextAttribute(request, "Type");
    std::string why;
    if (!valid_client_type(type, why)) {
        TRV_LOG(qr_Error, "Login refused: invalid client type [" << why << "]");
        return connector.SetError(error_failed, "Invalid client type: " + why);
    }
    TRV_LOG(qr_Debug, "Now we have " << server->Sessions().Snapshot().CountOfType(type) << " opened connections.");

    try {
        server->OpenUserDataSource(type);
    } catch (const qr_exception_t& e) {
        // One client's data source must not end the server for everyone.
        return connector.SetError(error_failed, "Can not open data source of client type " + type + " [" +
                                                    e.message() + "]");
    }

    // Name and password are not checked; the password is never written to the log.
    TRV_LOG(qr_Debug, "Trying to login user '" << TextAttribute(request, "login") << "'");

    const std::string session_id = TextAttribute(request, "session_id");
    const std::shared_ptr<XMLConnector> me = self->shared_from_this();
    if (!session_id.empty()) {
        TRV_LOG(qr_Debug, "Session attribute found [" << session_id << "]");
        // Only sessions of logged-in connections are registered, so a hit is valid.
        if (server->Sessions().Contains(type, session_id)) {
            TRV_LOG(qr_Debug, "Trying to check user");
            TRV_LOG(qr_Debug, "User is OK. Valid Session Found.");
            // This connection gets its own session object with that id; the
            // other connection keeps its own, and its data source stays open.
            auto session = std::make_unique<TRVSession>();
            session->SetIdText(session_id);
            session->SetValid(true);
            server->Sessions().Add(me, type, session_id, true);
            connector.SetClientType(type);
            connector.SetSession(std::move(session));
            connector.Send(connector.GetSession().ToXml());
            return 0;
        }
        TRV_LOG(qr_Debug, "No active session found by id [" << session_id << "]");
    }

    TRV_LOG(qr_Debug, "Create new Session.");
    std::shared_ptr<DataLoader> loader = server->FindDataSource(type);
    if (!loader)
        return connector.SetError(error_failed, "Can not get data source by key " + type);
    const long long n = DataLoader::new_uid(loader.get());
    if (n <= 0)
        return connector.SetError(error_failed, "Can not create a new session");
    auto session = std::make_unique<TRVSession>();
    session->SetId(n);
    TRV_LOG(qr_Debug, "New Session created with id=" << n);
    session->SetValid(true);
    const std::string id = session->GetId();
    server->Sessions().Add(me, type, id);  // refuses an id already held within the type
    connector.SetClientType(type);
    connector.SetSession(std::move(session));

    connector.Send(connector.GetSession().ToXml());
    TRV_LOG(qr_Debug, "Session created with id [" << id << "]");
    SendLogTo(&connector, "Connected to server: " + server->GetServerHost(), false);
    if (!server->FindAdminDataSource())
        SendLogTo(&connector, AdminNotOpenText(), true);
    return 0;
}
