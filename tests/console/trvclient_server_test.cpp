// The client library against the real server program on 127.0.0.1: the
// log-in, a tree request, a broadcast of one console's change reaching
// another, and the server's end reaching every connection once.
#include "client_deliveries.h"
#include "server_process.h"
#include "trv_client.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string Sync(int id, const std::string& request)
{
    char* reply = nullptr;
    fnSendString(id, request.c_str(), &reply);
    std::string text = reply ? reply : "(null)";
    fnFreeMem(&reply);
    return text;
}

}  // namespace

TEST(TrvClientServer, ConsolesTalkToTheRealServer)
{
    ClientDeliveries& seen = ClientDeliveries::Get();
    seen.Reset();
    ServerFolder folder;
    std::unique_ptr<ServerProcess> server = StartListening(folder);
    ASSERT_NE(server, nullptr);

    const int a = fnConnect(&ClientDeliveries::Callback, "127.0.0.1", folder.port());
    const int b = fnConnect(&ClientDeliveries::Callback, "localhost", folder.port());
    ASSERT_GE(a, 0);
    ASSERT_GT(b, a);
    const std::string login = "<LOGIN login=\"admin\" password=\"p&quot;w\" ConID=\"\" Type=\"Console\" HostId=\"\"/>";
    EXPECT_EQ(Sync(a, login).rfind("<SESSION uid=", 0), 0u);
    EXPECT_EQ(Sync(b, login).rfind("<SESSION uid=", 0), 0u);
    EXPECT_TRUE(seen.WaitFor(a, "Connected to server: "));
    EXPECT_TRUE(seen.WaitFor(b, "Connected to server: "));
    // A second log-in on one connection: the server's ERROR is the reply.
    EXPECT_NE(Sync(a, login).find("Connection already autorized!"), std::string::npos);

    EXPECT_EQ(Sync(a, "<GETTREESIBLING root=\"-1\"/>").rfind("<TREESIBLINGS", 0), 0u);
    EXPECT_EQ(Sync(a, "<PING/>").rfind("<PONG synch=", 0), 0u);

    // b adds a folder: b's call is completed by the broadcast, which a gets
    // as a notification.
    const std::string added = Sync(b, "<ADDTREEITEM uid=\"4242\" parent=\"0\" type=\"0\" name=\"From b\"/>");
    EXPECT_EQ(added.rfind("<TREEITEM", 0), 0u) << added;
    EXPECT_NE(added.find("trvid=\"4242\""), std::string::npos);
    EXPECT_TRUE(seen.WaitFor(a, "name=\"From b\""));
    for (const std::string& text : seen.Texts(b))
        EXPECT_EQ(text.find("From b"), std::string::npos) << text;

    ASSERT_EQ(server->Stop(), 0);
    EXPECT_TRUE(seen.WaitFor(a, "<DISCONNECT/>"));
    EXPECT_TRUE(seen.WaitFor(b, "<DISCONNECT/>"));
    EXPECT_EQ(Sync(a, "<PING/>"), "(null)");
    int disconnects = 0;
    for (const std::string& text : seen.Texts(a))
        disconnects += text == "<DISCONNECT/>";
    EXPECT_EQ(disconnects, 1);
    fnDisconnect(a);
    fnDisconnect(b);
}
