/* TrvClient: the client library through which the console reaches its
 * servers. The console loads "TrvClient.dll" by name and looks up these five
 * C functions by name before each call. Any thread may call any of them.
 *
 * The contract the console relies on:
 *
 * Connections
 *  - fnConnect connects to the server (name or dotted address, TCP port) and
 *    answers a connection id of 0 or more. Ids are never reused in a process,
 *    not even after a disconnect. A failure is a negative code of this
 *    header, never -5 or -1000 and below (the console's own codes):
 *      -1 no server name, or a port outside 1..65535 (a null callback is
 *         allowed: nothing is then delivered);
 *      -2 the name does not resolve, or the server refuses or cannot be
 *         reached; -3 no connection within the connect time-out (5 s);
 *      -4 the library could not start its threads.
 *    All of them may succeed on a later try.
 *  - fnDisconnect ends the connection. After it returns, the callback is not
 *    called again for that id, except for a call already under way, which
 *    fnDisconnect does not wait for (it may itself be waiting on the caller's
 *    thread). Requests handed over before are still sent. Unknown ids: no-op.
 *
 * Requests
 *  - A request is one XML element (the text up to its end is sent as given).
 *    The library puts a synch attribute on it (replacing one already there):
 *    a number unique among all requests of the process, whatever the
 *    connection, starting at a random value. The server echoes it on the
 *    reply, and on the notifications the request causes, which it broadcasts
 *    to every console of the client type with the requester's synch.
 *  - Frames go out on a connection in the order the calls were made,
 *    synchronous and asynchronous alike; a send never blocks the caller.
 *  - fnSendString waits for the element that carries its synch (for a LOGIN
 *    also the SESSION element, which the server sends without synch) and sets
 *    *reply to a copy of its text, zero-terminated, that the caller releases
 *    with fnFreeMem. That element is not also given to the callback. When no
 *    such element arrives within the reply time-out (30 s) *reply is
 *    "<TIMEOUT/>" (also to be released); a later reply goes to the callback.
 *    When the connection is unknown or gone, or the request holds no
 *    element, *reply is left null. The result is 0 for a reply, 1 for a
 *    time-out, -1 otherwise.
 *  - fnSendAsynchString queues the request and returns at once (0; -1 when
 *    the connection is unknown or gone or the request holds no element).
 *  - fnFreeMem releases what fnSendString put in *reply and sets it to null.
 *
 * The callback
 *  - callback(text, id) runs on a thread of the connection's own, one call at
 *    a time, in the order the server sent the elements: every element that
 *    did not complete a fnSendString, whole and zero-terminated. The text is
 *    valid only during the call. The callback may block for as long as it
 *    likes: a separate thread reads the socket into a queue without bound,
 *    and fnSendString completes meanwhile.
 *  - When the server closes the connection, or sends what is no frame of
 *    the protocol (a malformed length, a zero byte, a frame announced above
 *    the payload limit), the callback gets "<DISCONNECT/>" once, after
 *    everything that came before it; pending and later fnSendString calls
 *    leave *reply null. Nothing comes after it. A frame whose payload cannot
 *    be decoded, or that holds no element, is dropped and logged.
 *
 * The library logs its failures to the standard error stream. For tests and
 * diagnosis the environment variables TRVCLIENT_CONNECT_TIMEOUT_MS and
 * TRVCLIENT_REPLY_TIMEOUT_MS, read at each fnConnect, set that connection's
 * time-outs in milliseconds.
 */
#ifndef TRV_CLIENT_H
#define TRV_CLIENT_H

#if defined(_WIN32) && defined(TRVCLIENT_BUILDING_DLL)
#define TRVCLIENT_API __declspec(dllexport)
#elif defined(_WIN32) && !defined(TRVCLIENT_STATIC)
#define TRVCLIENT_API __declspec(dllimport)
#else
#define TRVCLIENT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*TrvReplyCallback)(const char* text, int id);

TRVCLIENT_API int fnConnect(TrvReplyCallback callback, const char* server, int port);
TRVCLIENT_API int fnSendString(int id, const char* request, char** reply);
TRVCLIENT_API void fnFreeMem(char** reply);
TRVCLIENT_API int fnSendAsynchString(int id, const char* request);
TRVCLIENT_API void fnDisconnect(int id);

/* The exports' types, for GetProcAddress. */
typedef int (*TrvConnectFn)(TrvReplyCallback, const char*, int);
typedef int (*TrvSendStringFn)(int, const char*, char**);
typedef void (*TrvFreeMemFn)(char**);
typedef int (*TrvSendAsynchStringFn)(int, const char*);
typedef void (*TrvDisconnectFn)(int);

#ifdef __cplusplus
}
#endif

#endif
