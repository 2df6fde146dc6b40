// The reply cache of the connection link: per connection, the part of the
// server's item tree that the console has seen (a flat list of TREEITEM
// copies in arrival order, with "siblingfull" marks for the items whose
// children are all known), so that tree element and sibling requests can be
// answered without traffic; and the last report table a server pushed.
//
// Not locked itself: the link holds its one cache lock around every call
// (reads too), whichever thread makes it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class TiXmlElement;

class ReplyCache {
public:
    ReplyCache();
    ~ReplyCache();
    ReplyCache(const ReplyCache&) = delete;
    ReplyCache& operator=(const ReplyCache&) = delete;

    // Takes a reply or notification of connection `id` into the cache by its
    // root element's name: DISCONNECT, TABLE, TREEITEM, TREESIBLINGS,
    // REMOVEBRANCH. Anything else, and a text that holds no element, changes
    // nothing.
    void Update(const std::string& reply, int id);

    // True, with the answer, when the cache can answer the request
    // (GETTREEELEMENT, GETTREESIBLING) for the connection.
    bool Answer(const std::string& request, int id, std::string& answer) const;

    // A copy of the cached table's root, or an ERROR element when there is none.
    std::unique_ptr<TiXmlElement> CachedTable() const;

    bool HasTree(int id) const;
    // The connection's cached tree as its TREE element's text; empty when none.
    std::string TreeText(int id) const;
    void Clear();

private:
    struct Item {
        long uid;
        long parent;
        std::unique_ptr<TiXmlElement> element;
    };
    struct Tree {
        int siblingfull = 0;  // of the top level (root -1)
        std::vector<Item> items;
    };

    static Item MakeItem(const TiXmlElement& element);
    static void RemoveBranch(Tree& tree, long uid);

    std::map<int, Tree> trees_;
    std::string table_;
};

// The compact text of an element (no declaration, indentation or line breaks).
std::string PrintElement(const TiXmlElement& element);
// A copy of the root element of `text`; null when it holds none or does not parse.
std::unique_ptr<TiXmlElement> ParseElement(const std::string& text);
