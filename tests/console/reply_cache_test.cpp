// The reply cache: what each reply does to a connection's cached tree, and
// which requests it then answers without traffic.
#include "reply_cache.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

std::string Answer(const ReplyCache& cache, const std::string& request, int id = 0)
{
    std::string answer;
    return cache.Answer(request, id, answer) ? answer : "(server)";
}

}  // namespace

TEST(ReplyCache, ATreeItemCreatesTheTreeAndReplacesInPlace)
{
    ReplyCache cache;
    EXPECT_FALSE(cache.HasTree(0));
    cache.Update("<TREEITEM uid=\"1\" parent=\"-1\" name=\"a\"/>", 0);
    EXPECT_EQ(cache.TreeText(0), "<TREE root=\"-1\"><TREEITEM uid=\"1\" parent=\"-1\" name=\"a\" /></TREE>");
    cache.Update("<TREEITEM uid=\"2\" parent=\"-1\" name=\"b\"/>", 0);
    // Replaced where it stands, and it keeps its sibling mark.
    cache.Update("<TREESIBLINGS root=\"1\"/>", 0);
    cache.Update("<TREEITEM uid=\"1\" parent=\"-1\" name=\"A\"/>", 0);
    EXPECT_EQ(cache.TreeText(0),
              "<TREE root=\"-1\"><TREEITEM uid=\"1\" parent=\"-1\" name=\"A\" siblingfull=\"1\" />"
              "<TREEITEM uid=\"2\" parent=\"-1\" name=\"b\" /></TREE>");
    EXPECT_FALSE(cache.HasTree(1));
}

TEST(ReplyCache, SiblingsAreAnsweredOnceAllAreKnown)
{
    ReplyCache cache;
    cache.Update("<TREEITEM uid=\"7\" parent=\"-1\"/>", 0);
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"7\"/>"), "(server)");
    cache.Update("<TREESIBLINGS root=\"7\" synch=\"2\"><TREEITEM uid=\"9\" parent=\"7\"/>"
                 "<TREEITEM uid=\"8\" parent=\"7\"/></TREESIBLINGS>",
                 0);
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"7\"/>"),
              "<TREESIBLINGS><TREEITEM uid=\"9\" parent=\"7\" /><TREEITEM uid=\"8\" parent=\"7\" /></TREESIBLINGS>");
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"-1\"/>"), "(server)");
    cache.Update("<TREESIBLINGS root=\"-1\"><TREEITEM uid=\"7\" parent=\"-1\"/></TREESIBLINGS>", 0);
    // The top level is complete now; item 7 was replaced and lost its mark.
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"-1\"/>"),
              "<TREESIBLINGS><TREEITEM uid=\"7\" parent=\"-1\" /></TREESIBLINGS>");
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"7\"/>"), "(server)");
    // An item without children, once marked, answers an empty list.
    cache.Update("<TREESIBLINGS root=\"9\"/>", 0);
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"9\"/>"), "<TREESIBLINGS />");
}

TEST(ReplyCache, AnItemMovedToAnotherParentIsListedUnderTheNewOne)
{
    ReplyCache cache;
    cache.Update("<TREESIBLINGS root=\"1\"><TREEITEM uid=\"5\" parent=\"1\"/></TREESIBLINGS>", 0);
    cache.Update("<TREESIBLINGS root=\"2\"><TREEITEM uid=\"6\" parent=\"2\"/></TREESIBLINGS>", 0);
    cache.Update("<TREEITEM uid=\"1\" parent=\"-1\"/>", 0);
    cache.Update("<TREEITEM uid=\"2\" parent=\"-1\"/>", 0);
    cache.Update("<TREESIBLINGS root=\"1\"><TREEITEM uid=\"5\" parent=\"1\"/></TREESIBLINGS>", 0);
    cache.Update("<TREESIBLINGS root=\"2\"><TREEITEM uid=\"6\" parent=\"2\"/></TREESIBLINGS>", 0);
    cache.Update("<TREEITEM uid=\"5\" parent=\"2\"/>", 0);
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"1\"/>"), "<TREESIBLINGS />");
    EXPECT_EQ(Answer(cache, "<GETTREESIBLING root=\"2\"/>"),
              "<TREESIBLINGS><TREEITEM uid=\"5\" parent=\"2\" siblingfull=\"0\" /><TREEITEM uid=\"6\" parent=\"2\" />"
              "</TREESIBLINGS>");
}

TEST(ReplyCache, ElementsAreAnsweredFromAnExistingTreeOnly)
{
    ReplyCache cache;
    EXPECT_EQ(Answer(cache, "<GETTREEELEMENT uid=\"3\"/>"), "(server)");
    cache.Update("<TREEITEM uid=\"3\" parent=\"-1\" name=\"x\"/>", 0);
    EXPECT_EQ(Answer(cache, "<GETTREEELEMENT uid=\"3\"/>"), "<TREEITEM uid=\"3\" parent=\"-1\" name=\"x\" />");
    EXPECT_EQ(Answer(cache, "<GETTREEELEMENT uid=\"4\"/>"), "(server)");
    EXPECT_EQ(Answer(cache, "<GETTABLE tabid=\"3\"/>"), "(server)");
    EXPECT_EQ(Answer(cache, "<GETTREEELEMENT uid=\"3\"/>", 1), "(server)");
}

TEST(ReplyCache, RemovingABranchRemovesItsWholeSubtreeAndEndsOnLoops)
{
    ReplyCache cache;
    cache.Update("<REMOVEBRANCH uid=\"1\" parent=\"-1\"/>", 0);
    EXPECT_FALSE(cache.HasTree(0));  // no tree: nothing made
    for (const char* item : {"<TREEITEM uid=\"1\" parent=\"-1\"/>", "<TREEITEM uid=\"2\" parent=\"1\"/>",
                             "<TREEITEM uid=\"3\" parent=\"2\"/>", "<TREEITEM uid=\"4\" parent=\"1\"/>",
                             "<TREEITEM uid=\"5\" parent=\"-1\"/>", "<TREEITEM uid=\"6\" parent=\"7\"/>",
                             "<TREEITEM uid=\"7\" parent=\"6\"/>"})
        cache.Update(item, 0);
    cache.Update("<REMOVEBRANCH uid=\"1\" parent=\"-1\"/>", 0);
    EXPECT_EQ(cache.TreeText(0),
              "<TREE root=\"-1\"><TREEITEM uid=\"5\" parent=\"-1\" /><TREEITEM uid=\"6\" parent=\"7\" />"
              "<TREEITEM uid=\"7\" parent=\"6\" /></TREE>");
    cache.Update("<REMOVEBRANCH uid=\"6\"/>", 0);
    EXPECT_EQ(cache.TreeText(0), "<TREE root=\"-1\"><TREEITEM uid=\"5\" parent=\"-1\" /></TREE>");
}

TEST(ReplyCache, DisconnectDropsTheTreeButNotTheTable)
{
    ReplyCache cache;
    EXPECT_EQ(PrintElement(*cache.CachedTable()), "<ERROR message=\"Table does not exist in cache\" />");
    cache.Update("<TABLE tabid=\"4\" synch=\"1\"/>", 0);  // a tab's table is not kept
    EXPECT_EQ(cache.CachedTable()->ValueStr(), "ERROR");
    cache.Update("<TABLE synch=\"2\" repid=\"3\" repname=\"r\"><ROWS/></TABLE>", 0);
    cache.Update("<TABLE tabid=\"0\" synch=\"3\" compid=\"1\"/>", 1);
    cache.Update("<TREEITEM uid=\"1\" parent=\"-1\"/>", 0);
    cache.Update("<DISCONNECT/>", 0);
    EXPECT_FALSE(cache.HasTree(0));
    EXPECT_EQ(PrintElement(*cache.CachedTable()), "<TABLE tabid=\"0\" synch=\"3\" compid=\"1\" />");
}

TEST(ReplyCache, TextThatIsNoElementChangesNothing)
{
    ReplyCache cache;
    cache.Update("<TREEITEM uid=\"1\" parent=\"-1\"/>", 0);
    const std::string before = cache.TreeText(0);
    for (const char* bad : {"", "garbage", "<TREEITEM uid=\"2\"", "<TREE><TREEITEM></TREE>"})
        cache.Update(bad, 0);
    cache.Update("<TREE root=\"-1\"><TREEITEM uid=\"9\" parent=\"-1\"/></TREE>", 0);  // TREE is not taken
    EXPECT_EQ(cache.TreeText(0), before);
}
