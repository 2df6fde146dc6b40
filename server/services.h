// The services of the request server that the common library, the inventory
// code and the scanner call: data sources, the one database mutex, the server's
// host name, and the elements pushed to consoles.
//
// `ServerServices` is what the server object implements (and a test stand-in
// in tests). The free functions below are what callers use: they forward to the
// installed implementation, and they build the texts and elements themselves
// (LOG lines with their time prefix, the end-of-scan lines, SNMP_OUTPUT), so an
// implementation only looks things up and sends.
//
// The server object installs itself with SetServerServices() when it is built
// and removes itself before it is freed; it must outlive every call that uses
// it. Every function may be called from any thread. Without an installed
// implementation nothing is sent, GetDataSource and GetAdminDataSource give
// none, and GetDatabaseMutex and GetServerHost throw `qr_exception_t`.
// Callers of the senders hold none of the server's locks (see qr_sync.h).
#pragma once

#include <string>
#include <vector>

class DataLoader;
class Job;
class TRVConnector;
class TiXmlElement;
class qr_mutex;

class ServerServices {
public:
    virtual ~ServerServices() = default;

    // The loader stored under the key (a client type, or "ADMIN"), or none.
    virtual DataLoader* GetDataSource(const std::string& client_type) = 0;
    virtual DataLoader* GetAdminDataSource() = 0;
    // Held by every loader for each of its operations; recursive.
    virtual qr_mutex& GetDatabaseMutex() = 0;
    virtual std::string GetServerHost() = 0;
    // The display text of an item of the client type's inventory: the address
    // of a host, the name of anything else; empty when there is none.
    virtual std::string GetItemTitle(const std::string& client_type, int uid) = 0;
    // The current local time as "MM/DD/YYYY hh:mm:ss", the start of LOG texts.
    virtual std::string CurrentTimeText() = 0;

    // Sends the element on that one connection.
    virtual void SendTo(TRVConnector* connector, const TiXmlElement& element) = 0;
    // Sends the element to every logged-in connection of that client type.
    virtual void SendToClientsOfType(const TiXmlElement& element,
                                     const std::string& client_type) = 0;
    // The TREEITEM of the job's host, to the clients of the job's source key.
    virtual void BroadcastTreeItem(Job* job, int flag) = 0;
    // The TREEITEM of an item or host, with synch unless -1, to the connector
    // or, without one, to the clients of the type. 1 when the uid is unknown
    // (recorded on the connector as error 8), else 0.
    virtual int SendTreeItem(int uid, const std::string& client_type, TRVConnector* connector,
                             int synch) = 0;
    // Raises (value 1) or lowers (0) the internal-scan marks around the item
    // and sends the TREEITEM of every item that changed.
    virtual void SendTreeItemList(int uid, int value, const std::string& client_type, int synch,
                                  TRVConnector* connector) = 0;
};

// Installs the implementation (none = remove it); gives back the previous one.
ServerServices* SetServerServices(ServerServices* services);
ServerServices* GetServerServices();

// Logs "Can not get data source by key <key>" at Error when there is none.
DataLoader* GetDataSource(const std::string& client_type);
DataLoader* GetAdminDataSource();
qr_mutex& GetDatabaseMutex();
std::string GetServerHost();

void SendToClientsOfType(const TiXmlElement& element, const std::string& client_type);
// A LOG with the time-prefixed text (and alert="1" when asked) to the one
// connection; nothing without a connection.
void SendLogTo(TRVConnector* connector, const std::string& text, bool alert,
               const std::string& address = std::string());
// A LOG with the text as it is and alert="1"; nothing without a connection.
void SendLogAlert(TRVConnector* connector, const std::string& text);
// A LOG with the time-prefixed text to every client of the type.
void SendLogBroadcast(const std::string& text, const std::string& client_type,
                      const std::string& address = std::string(), bool alert = false);
void BroadcastTreeItem(Job* job, int flag = 0);
int SendTreeItem(int uid, const std::string& client_type, TRVConnector* connector = nullptr,
                 int synch = -1);
void SendTreeItemList(int uid, int value, const std::string& client_type, int synch = -1,
                      TRVConnector* connector = nullptr);
// The two LOG lines that end a scan, to every client of the type. `root_uid`
// is the scan's root item, -1 when it has none.
void SendEndScan(int root_uid, const std::string& client_type, bool aborted);
// One SNMP_OUTPUT element holding every line of every group in order (the
// groups are the columns of the collected table), then two LOG lines.
void SendSNMPOutput(int host_uid, const std::string& client_type, const std::string& address,
                    const std::vector<std::vector<std::string>>& output);

// The text of a LOG line sent to consoles: the time, " ip:" and the address
// when there is one, a blank, the message.
std::string LogLineText(const std::string& time_text, const std::string& address,
                        const std::string& message);
