// The XML document object that the XML configuration sections are built on:
// a DOM document loaded from a file, single nodes selected by XPath,
// attributes set and elements added, and the document saved back to its file
// atomically. Backed by libxml2.
//
// An XmlDomDocument owns its tree. An XmlDomNode is a plain handle into a
// tree (an element or an attribute, or null), valid while the document lives
// and is not loaded again. Texts are UTF-8.
//
// Threads: any number of threads may read one document at once (select,
// name, text); load, set_attribute, append_element and save need that no
// other thread uses the document meanwhile. Different documents are
// independent.
#pragma once

#include <string>

struct _xmlDoc;
struct _xmlNode;

// Whether the XML library can serve the document object: initialised, at
// least the version this program was built against, with its tree, XPath and
// output parts. `reason` says why not.
bool XmlDomUsable(std::string& reason);
// Whether the text is an XML name without a colon (NCName): what an element
// or attribute may be called, and so what an XPath may name without being
// able to say anything else.
bool XmlDomIsName(const std::string& text);
// Whether an attribute may hold the text: valid UTF-8 of XML characters only
// (no control characters but tab and line ends).
bool XmlDomIsText(const std::string& text);

class XmlDomNode {
public:
    XmlDomNode() = default;
    explicit operator bool() const { return node_ != nullptr; }

    // The element's or attribute's name.
    std::string name() const;
    // An attribute's value; an element's text content.
    std::string text() const;
    // The first node in document order that the XPath expression selects
    // with this node as its context; null when it selects none. When the
    // expression is no valid XPath (or selects no nodes), `error` (optional)
    // says so.
    XmlDomNode select_single_node(const std::string& xpath, std::string* error = nullptr) const;

    // On an element: sets (or adds) the attribute. False, with `error`, when
    // the node is no element, the name no XML name, or the value no text an
    // XML file can hold (invalid UTF-8, control characters).
    bool set_attribute(const std::string& name, const std::string& value, std::string& error);
    // On an element: adds an empty child element after its other children;
    // null (with `error`) when the node is no element or the name no XML name.
    XmlDomNode append_element(const std::string& name, std::string& error);

private:
    friend class XmlDomDocument;
    explicit XmlDomNode(_xmlNode* node) : node_(node) {}

    _xmlNode* node_ = nullptr;
};

class XmlDomDocument {
public:
    XmlDomDocument() = default;
    ~XmlDomDocument();
    XmlDomDocument(const XmlDomDocument&) = delete;
    XmlDomDocument& operator=(const XmlDomDocument&) = delete;

    // Replaces the tree with the file's. False, with the parser's reason (or
    // the system's, when the file can't be read), when the file does not
    // load; the document is then empty. External entities and DTDs are never
    // fetched.
    bool load(const std::string& path, std::string& reason);
    bool loaded() const { return doc_ != nullptr; }
    // The root element; null when nothing is loaded.
    XmlDomNode document_element() const;
    // Writes the tree to `path` through a temporary file in the same folder:
    // written, flushed to disk, renamed over the file, and the folder flushed,
    // so the file is always either the old or the new document. The file
    // keeps its permission bits (0644 when it is new). False, with `error`,
    // when any step fails; the old file is then untouched.
    bool save(const std::string& path, std::string& error) const;

private:
    _xmlDoc* doc_ = nullptr;
};
