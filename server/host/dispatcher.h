// The per-connection entry that the connection frame runs, and the
// dispatcher that hands each top-level element of a request document to the
// handler its name selects. Both run on the connection's own thread.
//
// Before a successful LOGIN only LOGIN and PING are served; anything else is
// answered with ERROR "Not logged in". A handler's failure, and anything it
// throws, is answered with one ERROR carrying the request's synch.
#pragma once

class Client_socket;
class Config;
class TiXmlDocument;
class XMLConnector;

// Error code of the ERROR that answers a request before LOGIN.
constexpr int error_not_logged_in = 254;

void ServeConnection(Client_socket& socket, Config& config);
// The last top-level element's result; -1 ends the connection.
int DispatchRequest(TiXmlDocument& document, XMLConnector& connector);
