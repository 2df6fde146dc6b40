// Tree requests as consoles make them: replies go to the requester, changes
// reach every console of the requester's client type and no other.
#include "server_process.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class Tree : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new ServerFolder();
        server_ = StartListening(*folder_).release();
        ASSERT_NE(server_, nullptr);
    }
    static void TearDownTestSuite()
    {
        EXPECT_EQ(server_->Stop(), 0);
        delete server_;
        delete folder_;
    }

    // A logged-in console whose SESSION and LOG have been read.
    static std::unique_ptr<ConsoleClient> Console(const std::string& type)
    {
        auto client = std::make_unique<ConsoleClient>(folder_->port());
        EXPECT_FALSE(client->Login(type).empty());
        EXPECT_TRUE(client->NextNamed("LOG").has_value());
        return client;
    }

    static ServerFolder* folder_;
    static ServerProcess* server_;
};

ServerFolder* Tree::folder_ = nullptr;
ServerProcess* Tree::server_ = nullptr;

// Nothing was pushed to the client before the answer to this PING.
void ExpectNothingPending(ConsoleClient& client)
{
    ASSERT_TRUE(client.Send("<PING synch=\"999\"/>"));
    auto reply = client.Next();
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->xml, "<PONG synch=\"999\" />");
}

const Reply* FindChild(const Reply& parent, const std::string& uid)
{
    for (const Reply& child : parent.children)
        if (child.attr("uid") == uid)
            return &child;
    return nullptr;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

TEST_F(Tree, ChangesReachEveryConsoleOfTheTypeOnly)
{
    auto a = Console("Console");
    auto b = Console("Console");
    auto other = Console("Other");

    const std::string name = "Lab \"North\" <1> & O'Brien's";
    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-77\" parent=\"0\" type=\"0\" synch=\"5\" name=\"" + Escaped(name) +
                        "\"/>"));
    std::string folder_uid;
    for (ConsoleClient* console : {a.get(), b.get()}) {
        auto item = console->Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->name, "TREEITEM");
        EXPECT_EQ(item->attr("trvid"), "-77");
        EXPECT_EQ(item->attr("synch"), "5");
        EXPECT_EQ(item->attr("name"), name);
        EXPECT_EQ(item->attr("parent"), "0");
        EXPECT_EQ(item->attr("type"), "0");
        folder_uid = item->attr("uid");
        EXPECT_GT(std::stoi(folder_uid), 0);
    }
    ExpectNothingPending(*other);

    // An inventory with its address range and community below the folder.
    ASSERT_TRUE(b->Send("<ADDTREEITEM uid=\"-78\" parent=\"" + folder_uid +
                        "\" type=\"1\" synch=\"6\" name=\"Inv &amp; Co\" ping=\"1\" tabs=\"1,2\">"
                        "<IP from=\"127.0.0.1\" to=\"127.0.0.4\" file=\"\"/><COMM name=\"public\"/></ADDTREEITEM>"));
    std::string inventory_uid;
    for (ConsoleClient* console : {b.get(), a.get()}) {
        auto item = console->Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->attr("trvid"), "-78");
        EXPECT_EQ(item->attr("synch"), "6");
        EXPECT_EQ(item->attr("type"), "1");
        EXPECT_EQ(item->attr("parent"), folder_uid);
        ASSERT_EQ(item->children.size(), 2u) << item->xml;
        EXPECT_EQ(item->children[0].name, "IP");
        EXPECT_EQ(item->children[0].attr("from"), "127.0.0.1");
        EXPECT_EQ(item->children[1].name, "COMM");
        EXPECT_EQ(item->children[1].attr("name"), "public");
        inventory_uid = item->attr("uid");
    }

    // GETTREE: a flat list, parents before children, to the requester only.
    ASSERT_TRUE(a->Send("<GETTREE root=\"0\" synch=\"7\"/>"));
    auto tree = a->Next();
    ASSERT_TRUE(tree.has_value());
    EXPECT_EQ(tree->name, "TREE");
    EXPECT_EQ(tree->attr("root"), "0");
    EXPECT_EQ(tree->attr("synch"), "7");
    const Reply* folder = FindChild(*tree, folder_uid);
    const Reply* inventory = FindChild(*tree, inventory_uid);
    ASSERT_TRUE(folder && inventory) << tree->xml;
    EXPECT_EQ(folder->attr("name"), name);
    EXPECT_LT(folder, inventory);
    ExpectNothingPending(*b);

    ASSERT_TRUE(a->Send("<GETTREESIBLING root=\"" + folder_uid + "\" synch=\"8\"/>"));
    auto siblings = a->Next();
    ASSERT_TRUE(siblings.has_value());
    EXPECT_EQ(siblings->name, "TREESIBLINGS");
    EXPECT_EQ(siblings->attr("root"), folder_uid);
    ASSERT_EQ(siblings->children.size(), 1u) << siblings->xml;
    EXPECT_EQ(siblings->children[0].attr("uid"), inventory_uid);

    ASSERT_TRUE(a->Send("<GETTREEELEMENT uid=\"" + inventory_uid + "\" synch=\"9\"/>"));
    auto element = a->Next();
    ASSERT_TRUE(element.has_value());
    EXPECT_EQ(element->name, "TREEITEM");
    EXPECT_EQ(element->attr("uid"), inventory_uid);
    EXPECT_EQ(element->attr("synch"), "9");
    ASSERT_TRUE(a->Send("<GETTREEELEMENT uid=\"987654\" synch=\"10\"/>"));
    auto missing = a->Next();
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->name, "ERROR");
    EXPECT_EQ(missing->attr("type"), "8");
    EXPECT_EQ(missing->attr("message"), "Can not find element with id=987654");
    EXPECT_EQ(missing->attr("synch"), "10");

    // CHANGEITEM: the new state, with the requester's synch, to both.
    ASSERT_TRUE(b->Send("<CHANGEITEM uid=\"" + folder_uid + "\" parent=\"0\" type=\"0\" locked=\"1\" synch=\"11\" "
                        "name=\"Renamed &lt;2&gt;\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        auto item = console->Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->name, "TREEITEM");
        EXPECT_EQ(item->attr("uid"), folder_uid);
        EXPECT_EQ(item->attr("name"), "Renamed <2>");
        EXPECT_EQ(item->attr("locked"), "1");
        EXPECT_EQ(item->attr("synch"), "11");
    }

    // COPYTREEITEM: the copy, named as its original, to both with the
    // requester's synch; the inventory in the folder comes along with its
    // settings.
    ASSERT_TRUE(a->Send("<COPYTREEITEM id=\"" + folder_uid + "\" toparent=\"0\" synch=\"21\"/>"));
    std::string copy_uid;
    for (ConsoleClient* console : {a.get(), b.get()}) {
        auto item = console->Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->name, "TREEITEM");
        EXPECT_EQ(item->attr("synch"), "21");
        EXPECT_EQ(item->attr("parent"), "0");
        EXPECT_EQ(item->attr("type"), "0");
        EXPECT_EQ(item->attr("name"), "Renamed <2>");
        EXPECT_EQ(item->attr("haschildren"), "1");
        copy_uid = item->attr("uid");
    }
    ASSERT_FALSE(copy_uid.empty());
    EXPECT_GT(std::stoi(copy_uid), std::stoi(inventory_uid));
    ASSERT_TRUE(a->Send("<GETTREESIBLING root=\"" + copy_uid + "\" synch=\"22\"/>"));
    auto copied = a->Next();
    ASSERT_TRUE(copied.has_value());
    ASSERT_EQ(copied->children.size(), 1u) << copied->xml;
    const Reply copied_inventory = copied->children[0];
    const std::string copied_inventory_uid = copied_inventory.attr("uid");
    EXPECT_NE(copied_inventory_uid, inventory_uid);
    EXPECT_EQ(copied_inventory.attr("type"), "1");
    EXPECT_EQ(copied_inventory.attr("name"), "Inv & Co");
    ASSERT_EQ(copied_inventory.children.size(), 2u) << copied_inventory.xml;
    EXPECT_EQ(copied_inventory.children[0].attr("to"), "127.0.0.4");
    EXPECT_EQ(copied_inventory.children[1].attr("name"), "public");

    // MOVETREEITEM: the item under its new parent, to both with the
    // requester's synch.
    ASSERT_TRUE(b->Send("<MOVETREEITEM id=\"" + copied_inventory_uid + "\" toparent=\"" + folder_uid +
                        "\" synch=\"23\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        auto item = console->Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->name, "TREEITEM");
        EXPECT_EQ(item->attr("uid"), copied_inventory_uid);
        EXPECT_EQ(item->attr("parent"), folder_uid);
        EXPECT_EQ(item->attr("synch"), "23");
    }

    // A refused copy or move: the requester gets an ERROR, every console of
    // the type the LOG line.
    const struct {
        const char* request;
        std::string id, toparent, word;
    } refused[] = {
        {"COPYTREEITEM", "987654", "0", "copy"},
        {"MOVETREEITEM", folder_uid, folder_uid, "move"},
        {"MOVETREEITEM", copy_uid, copied_inventory_uid, "move"},
    };
    for (const auto& r : refused) {
        ASSERT_TRUE(a->Send(std::string("<") + r.request + " id=\"" + r.id + "\" toparent=\"" + r.toparent +
                            "\" synch=\"24\"/>"));
        for (ConsoleClient* console : {a.get(), b.get()}) {
            auto log = console->NextNamed("LOG");
            ASSERT_TRUE(log.has_value()) << r.request;
            EXPECT_NE(log->attr("text").find(" Can not " + r.word + " item."), std::string::npos);
            EXPECT_FALSE(log->has("alert"));
        }
        auto error = a->Next();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->name, "ERROR");
        EXPECT_EQ(error->attr("type"), "254");
        EXPECT_EQ(error->attr("message"), "Can not " + r.word + " item.");
        EXPECT_EQ(error->attr("synch"), "24");
    }

    // REMOVEBRANCH names the former parent.
    ASSERT_TRUE(b->Send("<REMOVEBRANCH uid=\"" + folder_uid + "\" synch=\"13\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        auto removed = console->Next();
        ASSERT_TRUE(removed.has_value());
        EXPECT_EQ(removed->xml, "<REMOVEBRANCH parent=\"0\" uid=\"" + folder_uid + "\" synch=\"13\" />");
    }
    ASSERT_TRUE(a->Send("<GETTREE root=\"0\" synch=\"14\"/>"));
    auto after = a->Next();
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(FindChild(*after, folder_uid), nullptr);
    EXPECT_EQ(FindChild(*after, inventory_uid), nullptr);
    EXPECT_EQ(FindChild(*after, copied_inventory_uid), nullptr);  // moved into the removed folder
    EXPECT_NE(FindChild(*after, copy_uid), nullptr);

    // The other type has an inventory of its own.
    ExpectNothingPending(*other);
    ASSERT_TRUE(other->Send("<GETTREE root=\"0\" synch=\"15\"/>"));
    auto other_tree = other->Next();
    ASSERT_TRUE(other_tree.has_value());
    EXPECT_TRUE(other_tree->children.empty()) << other_tree->xml;
}

// Requests that would empty the inventory or hang an item below itself are
// refused; nothing changes and nothing is announced.
TEST_F(Tree, RemovalWithoutAUidAndLoopsAreRefused)
{
    auto a = Console("Console");
    auto b = Console("Console");
    const auto add_folder = [&](const std::string& parent, const char* name) {
        EXPECT_TRUE(a->Send("<ADDTREEITEM uid=\"-1\" parent=\"" + parent + "\" type=\"0\" synch=\"40\" name=\"" +
                            name + "\"/>"));
        auto item = a->Next();
        EXPECT_TRUE(b->Next().has_value());
        return item.has_value() ? item->attr("uid") : std::string();
    };
    const std::string top = add_folder("0", "top");
    const std::string inner = add_folder(top, "inner");
    ASSERT_FALSE(top.empty());
    ASSERT_FALSE(inner.empty());

    for (const char* uid : {"", " uid=\"0\"", " uid=\"-4\"", " uid=\"x\""}) {
        ASSERT_TRUE(a->Send(std::string("<REMOVEBRANCH") + uid + " synch=\"41\"/>"));
        auto error = a->Next();
        ASSERT_TRUE(error.has_value()) << uid;
        EXPECT_EQ(error->name, "ERROR") << uid;
        EXPECT_EQ(error->attr("type"), "254") << uid;
        EXPECT_EQ(error->attr("message"), "Can not remove tree item: no item uid given.") << uid;
        EXPECT_EQ(error->attr("synch"), "41") << uid;
    }
    for (const std::string& parent : {top, inner}) {
        ASSERT_TRUE(a->Send("<CHANGEITEM uid=\"" + top + "\" parent=\"" + parent +
                            "\" type=\"0\" synch=\"42\" name=\"looped\"/>"));
        auto error = a->Next();
        ASSERT_TRUE(error.has_value()) << parent;
        EXPECT_EQ(error->name, "ERROR") << parent;
        EXPECT_EQ(error->attr("type"), "254") << parent;
        EXPECT_EQ(error->attr("message"), "Tree item " + top + " not changed: its new parent " + parent +
                                              " is the item itself or lies below it");
        EXPECT_EQ(error->attr("synch"), "42");
    }
    ExpectNothingPending(*b);

    // Both folders are where they were, unchanged, and the tree below the
    // top one is still listed.
    ASSERT_TRUE(a->Send("<GETTREE root=\"0\" synch=\"43\"/>"));
    auto tree = a->Next();
    ASSERT_TRUE(tree.has_value());
    const Reply* listed_top = FindChild(*tree, top);
    const Reply* listed_inner = FindChild(*tree, inner);
    ASSERT_TRUE(listed_top && listed_inner) << tree->xml;
    EXPECT_EQ(listed_top->attr("parent"), "0");
    EXPECT_EQ(listed_top->attr("name"), "top");
    EXPECT_EQ(listed_inner->attr("parent"), top);
    ASSERT_TRUE(a->Send("<GETTREE root=\"" + top + "\" synch=\"44\"/>"));
    auto below = a->Next();
    ASSERT_TRUE(below.has_value());
    ASSERT_EQ(below->children.size(), 1u) << below->xml;
    EXPECT_EQ(below->children[0].attr("uid"), inner);
}

// A control character in a stored text would come back as a character
// reference that XML parsers refuse, breaking every later tree of the client
// type for them. Such a request is refused whole and changes nothing.
TEST_F(Tree, TextsWithCharactersXmlDoesNotAllowAreRefused)
{
    auto a = Console("Texts");
    auto b = Console("Texts");
    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-1\" parent=\"0\" type=\"0\" synch=\"60\" name=\"Kept\"/>"));
    auto kept = a->Next();
    ASSERT_TRUE(kept.has_value() && b->Next().has_value());
    const std::string folder = kept->attr("uid");

    const struct {
        std::string request;
        std::string where;
        const char* synch;
    } cases[] = {
        {"<ADDTREEITEM uid=\"-2\" parent=\"0\" type=\"0\" synch=\"61\" name=\"raw\x19name\"/>",
         "name of ADDTREEITEM", "61"},
        {"<ADDTREEITEM uid=\"-2\" parent=\"0\" type=\"0\" synch=\"62\" name=\"ref&#x19;name\"/>",
         "name of ADDTREEITEM", "62"},
        {"<ADDTREEITEM uid=\"-3\" parent=\"" + folder +
             "\" type=\"1\" synch=\"63\" name=\"Inv\" ping=\"3\" tabs=\"\"><IP from=\"127.0.0.1\" to=\"\" "
             "file=\"\"/><COMM name=\"pub&#1;lic\"/></ADDTREEITEM>",
         "name of COMM", "63"},
        {"<CHANGEITEM uid=\"" + folder + "\" parent=\"0\" type=\"0\" synch=\"64\" name=\"bell\x07\"/>",
         "name of CHANGEITEM", "64"},
        {"<SETSERVERINFO><CONNECTIONS server=\"esc\x1b\"/></SETSERVERINFO>", "server of CONNECTIONS", "0"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(a->Send(c.request));
        auto error = a->Next();
        ASSERT_TRUE(error.has_value()) << c.where;
        EXPECT_EQ(error->xml, "<ERROR type=\"254\" message=\"The value of " + c.where +
                                  " holds a character that XML does not allow; request refused.\" synch=\"" +
                                  c.synch + "\" />");
    }
    ExpectNothingPending(*b);

    // Tabs and line breaks are XML text, and taken.
    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-4\" parent=\"0\" type=\"0\" synch=\"65\" name=\"two\tlines&#10;\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        auto item = console->Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->attr("name"), "two\tlines\n") << item->xml;
    }

    ASSERT_TRUE(b->Send("<GETTREE root=\"0\" synch=\"66\"/>"));
    auto tree = b->Next();
    ASSERT_TRUE(tree.has_value());
    std::vector<std::string> names;
    for (const Reply& item : tree->children)
        names.push_back(item.attr("name"));
    EXPECT_EQ(names, (std::vector<std::string>{"Kept", "two\tlines\n"})) << tree->xml;
    ASSERT_TRUE(b->Send("<GETSERVERINFO synch=\"67\"/>"));
    auto info = b->Next();
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->xml.find("esc"), std::string::npos) << info->xml;
}

TEST_F(Tree, ATakenUpSessionIsTheNewConnectionsOwn)
{
    auto first = std::make_unique<ConsoleClient>(folder_->port());
    const std::string id = first->Login("Console");
    ASSERT_FALSE(id.empty());
    ASSERT_TRUE(first->NextNamed("LOG").has_value());

    // Offering the id again takes the session up: SESSION with it, no LOG.
    ConsoleClient second(folder_->port());
    EXPECT_EQ(second.Login("Console", "session_id=\"" + id + "\""), id);
    ExpectNothingPending(second);
    // Within another client type the id names nothing: a new session.
    ConsoleClient other(folder_->port());
    const std::string other_id = other.Login("Other", "session_id=\"" + id + "\"");
    ASSERT_FALSE(other_id.empty());
    auto log = other.Next();
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(log->name, "LOG");

    // The first connection leaves; the second is still logged in and still
    // receives what its client type is told.
    first.reset();
    ASSERT_TRUE(second.Send("<ADDTREEITEM uid=\"-3\" parent=\"0\" type=\"0\" synch=\"31\" name=\"after\"/>"));
    auto item = second.Next();
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->name, "TREEITEM");
    EXPECT_EQ(item->attr("synch"), "31");
    ASSERT_TRUE(second.Send("<REMOVEBRANCH uid=\"" + item->attr("uid") + "\" synch=\"32\"/>"));
    auto removed = second.Next();
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(removed->name, "REMOVEBRANCH");
    ExpectNothingPending(other);
}

TEST_F(Tree, AConsoleThatNeverReadsHoldsUpNobodyElse)
{
    auto stuck = Console("Console");  // never reads from here on
    auto busy = Console("Console");
    // Names that compress badly, so the stuck console's buffers fill up.
    std::mt19937 random(7);
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name(150000, 'a');
    int served = 0;
    for (int i = 0; i < 100; ++i) {
        for (char& c : name)
            c = letters[random() % letters.size()];
        ASSERT_TRUE(busy->Send("<ADDTREEITEM uid=\"-" + std::to_string(i + 1) + "\" parent=\"0\" type=\"0\" synch=\"" +
                               std::to_string(i) + "\" name=\"" + name + "\"/>"));
        auto item = busy->NextNamed("TREEITEM", 60);
        ASSERT_TRUE(item.has_value()) << "request " << i;
        EXPECT_EQ(item->attr("synch"), std::to_string(i));
        ++served;
    }
    EXPECT_EQ(served, 100);
    // The stuck console was dropped once its sends stopped moving.
    EXPECT_TRUE(stuck->Closed(60));
    ExpectNothingPending(*busy);
}

}  // namespace
