#include "reply_cache.h"

#include "qr_log.h"

#include <tinyxml.h>

#include <unordered_map>
#include <unordered_set>

namespace {

long IntAttribute(const TiXmlElement& element, const char* name, long fallback = 0)
{
    int value = 0;
    return element.QueryIntAttribute(name, &value) == TIXML_SUCCESS ? value : fallback;
}

}  // namespace

std::string PrintElement(const TiXmlElement& element)
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    return printer.Str();
}

std::unique_ptr<TiXmlElement> ParseElement(const std::string& text)
{
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement* root = document.RootElement();
    if (document.Error() || !root)
        return nullptr;
    return std::unique_ptr<TiXmlElement>(root->Clone()->ToElement());
}

ReplyCache::ReplyCache() = default;
ReplyCache::~ReplyCache() = default;

ReplyCache::Item ReplyCache::MakeItem(const TiXmlElement& element)
{
    return Item{IntAttribute(element, "uid"), IntAttribute(element, "parent"),
                std::unique_ptr<TiXmlElement>(element.Clone()->ToElement())};
}

void ReplyCache::Update(const std::string& reply, int id)
{
    std::unique_ptr<TiXmlElement> root = ParseElement(reply);
    if (!root) {
        TRV_LOG(qr_Error, "Reply cache: a reply that holds no element was not cached");
        return;
    }
    const std::string name = root->ValueStr();
    if (name == "DISCONNECT") {
        trees_.erase(id);
        return;
    }
    if (name == "TABLE") {
        if (IntAttribute(*root, "tabid") == 0)
            table_ = reply;
        return;
    }
    if (name == "REMOVEBRANCH") {
        auto it = trees_.find(id);
        if (it != trees_.end())
            RemoveBranch(it->second, IntAttribute(*root, "uid"));
        return;
    }
    if (name == "TREEITEM") {
        Tree& tree = trees_[id];
        Item item = MakeItem(*root);
        for (Item& cached : tree.items) {
            if (cached.uid == item.uid) {
                item.element->SetAttribute("siblingfull", IntAttribute(*cached.element, "siblingfull"));
                cached = std::move(item);
                return;
            }
        }
        tree.items.push_back(std::move(item));
        return;
    }
    if (name == "TREESIBLINGS") {
        Tree& tree = trees_[id];
        const long parent = IntAttribute(*root, "root");
        if (parent == -1) {
            tree.siblingfull = 1;
        } else {
            for (Item& cached : tree.items)
                if (cached.uid == parent)
                    cached.element->SetAttribute("siblingfull", 1);
        }
        for (const TiXmlElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
            Item item = MakeItem(*child);
            Item* last = nullptr;
            for (Item& cached : tree.items)
                if (cached.uid == item.uid)
                    last = &cached;
            if (last)
                *last = std::move(item);
            else
                tree.items.push_back(std::move(item));
        }
    }
}

void ReplyCache::RemoveBranch(Tree& tree, long uid)
{
    // The item and everything below it. Visited items are never walked
    // again, so a parent loop among the cached items ends too.
    std::unordered_multimap<long, long> children;
    for (const Item& item : tree.items)
        children.emplace(item.parent, item.uid);
    std::unordered_set<long> doomed{uid};
    std::vector<long> walk{uid};
    while (!walk.empty()) {
        const long at = walk.back();
        walk.pop_back();
        auto range = children.equal_range(at);
        for (auto it = range.first; it != range.second; ++it)
            if (doomed.insert(it->second).second)
                walk.push_back(it->second);
    }
    std::vector<Item> kept;
    kept.reserve(tree.items.size());
    for (Item& item : tree.items)
        if (!doomed.count(item.uid))
            kept.push_back(std::move(item));
    tree.items.swap(kept);
}

bool ReplyCache::Answer(const std::string& request, int id, std::string& answer) const
{
    auto it = trees_.find(id);
    if (it == trees_.end())
        return false;
    const Tree& tree = it->second;
    std::unique_ptr<TiXmlElement> root = ParseElement(request);
    if (!root)
        return false;
    if (root->ValueStr() == "GETTREEELEMENT") {
        const long uid = IntAttribute(*root, "uid");
        for (const Item& item : tree.items) {
            if (item.uid == uid) {
                answer = PrintElement(*item.element);
                return true;
            }
        }
        return false;
    }
    if (root->ValueStr() == "GETTREESIBLING") {
        const long parent = IntAttribute(*root, "root");
        long full = 0;
        if (parent == -1) {
            full = tree.siblingfull;
        } else {
            for (const Item& item : tree.items)
                if (item.uid == parent)
                    full = IntAttribute(*item.element, "siblingfull");
        }
        if (full == 0)
            return false;
        TiXmlElement siblings("TREESIBLINGS");
        for (const Item& item : tree.items)
            if (item.parent == parent)
                siblings.InsertEndChild(*item.element);
        answer = PrintElement(siblings);
        return true;
    }
    return false;
}

std::unique_ptr<TiXmlElement> ReplyCache::CachedTable() const
{
    TRV_LOG(qr_Notice, "Getting ready cashed table from cashe");
    std::unique_ptr<TiXmlElement> table = table_.empty() ? nullptr : ParseElement(table_);
    if (table)
        return table;
    auto error = std::make_unique<TiXmlElement>("ERROR");
    error->SetAttribute("message", "Table does not exist in cache");
    return error;
}

bool ReplyCache::HasTree(int id) const
{
    return trees_.count(id) != 0;
}

std::string ReplyCache::TreeText(int id) const
{
    auto it = trees_.find(id);
    if (it == trees_.end())
        return std::string();
    TiXmlElement tree("TREE");
    tree.SetAttribute("root", -1);
    if (it->second.siblingfull)
        tree.SetAttribute("siblingfull", it->second.siblingfull);
    for (const Item& item : it->second.items)
        tree.InsertEndChild(*item.element);
    return PrintElement(tree);
}

void ReplyCache::Clear()
{
    trees_.clear();
    table_.clear();
}
