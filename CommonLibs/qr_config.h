// Configuration sections and the parser of date-time texts.
//
// A Config holds named sections of key/value settings read from an ini-style
// file; section names and keys are upper-cased, so lookups ignore case.
// A TinyConfig reads an XML file instead: a section is an element and its
// keys are the element's attributes. A TinyConfig taken from another one (or
// copied from it) refers into that other object's document, which must
// outlive it.
// An XMLConfig does the same over the XML document object (platform/xmldom.h)
// and can also write attributes back to its file. A section taken from an
// XMLConfig shares its document (kept alive by every section that uses it)
// and its file.
//
// A Config or TinyConfig is built on one thread and afterwards only read, by
// any number of threads at once; nothing locks it. An XMLConfig is built on
// one thread; afterwards any thread may call it, writes included: the
// sections of one document share that document's mutex, the only lock they
// take (nothing else is locked while it is held).
#pragma once

#include "qr_sync.h"
#include "xmldom.h"

#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <tinyxml.h>

class Config {
public:
    Config() = default;
    virtual ~Config() = default;

    // Throws qr_exception_t when the section or the key is missing.
    virtual std::string Get(const std::string& section, const std::string& key) const;
    // Stores the value unless the section already has the key.
    virtual void Put(const std::string& section, const std::string& key, const std::string& value);
    // Reads an ini-style file through Put. Throws qr_exception_t when the file
    // can't be opened or a section line lacks its ']'.
    virtual void ReadFromFile(const std::string& path);

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

class TinyConfig : public Config {
public:
    // Loads the file; the section is the document's first node. A file that
    // is missing or no well-formed XML ends the process with exit code 1.
    explicit TinyConfig(const std::string& file);
    // The first element named `name` (case counts) among the parent's section
    // and its following siblings; empty when there is none.
    TinyConfig(const TinyConfig& parent, const std::string& name);
    TinyConfig(const TinyConfig& other) = default;
    TinyConfig& operator=(const TinyConfig& other) = default;
    ~TinyConfig() override = default;

    // The attribute `key` of the first element named `section`, searched depth
    // first from the section onwards; the empty text when there is none.
    std::string Get(const std::string& section, const std::string& key) const override;
    // Sections are never written back: does nothing.
    void Put(const std::string& section, const std::string& key, const std::string& value) override;
    void ReadFromFile(const std::string& path) override;

    // When loaded: the section's name, and 0. Otherwise -1.
    int getName(std::string& name) const;
    // Not supported on these sections: always -1.
    int getValue(const std::string& path, std::string& value) const;
    int setValue(const std::string& path, const std::string& value);

private:
    void load();

    const TiXmlNode* section_ = nullptr;  // inside document_ or another object's document
    TiXmlDocument document_;
    std::string file_name_;
    bool loaded_ = false;
};

class XMLConfig : public Config {
public:
    // Checks that the XML document object is usable, and when it is not
    // prints and logs why and throws "MSXML 4.0 or higher not installed.".
    // Then loads the file; the section is its root element. A file that does
    // not load is logged ("Load document failed: " and the parser's reason)
    // and leaves the object empty.
    explicit XMLConfig(const std::string& file);
    // The first element named `name` (case counts) among the parent's section
    // element and the elements below it, in document order; empty when there
    // is none. Shares the parent's document and file.
    XMLConfig(const XMLConfig& parent, const std::string& name);
    XMLConfig(const XMLConfig& other) = default;
    XMLConfig& operator=(const XMLConfig& other) = default;
    ~XMLConfig() override = default;

    // The attribute at the path "//" + section + "/@" + key, taken within
    // this section: the attribute `key` of the first element named `section`
    // in document order, the section's own element included. Throws
    // qr_exception_t "Failed to get attribute '<key>' from section
    // '<section>'" when there is none, and when section or key is no XML name
    // (such a path is never evaluated).
    std::string Get(const std::string& section, const std::string& key) const override;
    // Sets that attribute (adding it, and adding an element `section` under
    // this section's element when there is none) and writes the whole
    // document back to its file atomically. Throws qr_exception_t "Failed to
    // put attribute ..." with the cause when nothing is loaded, a name is no
    // XML name, the value is no text an XML file can hold, or the file can't
    // be written; a file that did not load is never overwritten.
    void Put(const std::string& section, const std::string& key, const std::string& value) override;
    // Sets the file name and loads it into a document of this object's own.
    void ReadFromFile(const std::string& path) override;

    // When loaded: the section element's name, and 0. Otherwise -1.
    int getName(std::string& name) const;
    // The attribute `key` of the section's own element (the path "@" + key
    // from it): 0 with the value, or -1 when there is none.
    int getValue(const std::string& key, std::string& value) const;
    // Sets that attribute and writes the file back as Put does: 0, or -1
    // with the cause logged.
    int setValue(const std::string& key, const std::string& value);

private:
    struct Document {
        qr_mutex mutex;
        XmlDomDocument dom GUARDED_BY(mutex);  // and every node in it
    };

    void load();
    std::string set_attribute(const std::string* section, const std::string& key,
                              const std::string& value);

    std::shared_ptr<Document> document_;
    XmlDomNode root_;  // the section's element, inside document_; null when not loaded
    std::string file_name_;
    bool loaded_ = false;
};

// "YYYY-MM-DD hh:mm:ss." in local time. "NULL" and the empty text give -1
// silently; any other text without six numbers in that form logs an Error
// line and gives -1.
time_t ParseDateTime(const std::string& text);
