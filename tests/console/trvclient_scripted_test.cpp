// The client library's contract against the scripted server, natively: the
// exports linked statically, so the sanitizer builds check the threads.
#include <gtest/gtest.h>

#include <cstdlib>

#define CLIENT_CASE(name) TEST(TrvClientScripted, name)
#define CHECK(cond) EXPECT_TRUE(cond)
#define CHECK_EQ(a, b) EXPECT_EQ(a, b)

#include "trvclient_cases.h"

const TrvApi& Api()
{
    static const TrvApi api{&fnConnect, &fnSendString, &fnFreeMem, &fnSendAsynchString, &fnDisconnect};
    return api;
}

void SetTestEnv(const char* name, const char* value)
{
    ::setenv(name, value, 1);
}

TEST(TrvClientScripted, CallbacksRunOnAThreadOfTheirOwn)
{
    ClientDeliveries::Get().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        s.SendFrame(r.connection, "<LOG text=\"x\"/>");
    });
    const int id = client_cases::Connect(server);
    EXPECT_EQ(fnSendAsynchString(id, "<PING/>"), 0);
    EXPECT_TRUE(ClientDeliveries::Get().WaitCount(id, 1));
    EXPECT_FALSE(ClientDeliveries::Get().CalledOnThread(std::this_thread::get_id()));
    fnDisconnect(id);
}
