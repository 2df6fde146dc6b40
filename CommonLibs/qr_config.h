// Configuration sections and the parser of date-time texts.
//
// A Config holds named sections of key/value settings read from an ini-style
// file; section names and keys are upper-cased, so lookups ignore case.
// A TinyConfig reads an XML file instead: a section is an element and its
// keys are the element's attributes. A TinyConfig taken from another one (or
// copied from it) refers into that other object's document, which must
// outlive it.
//
// A section object is built on one thread and afterwards only read, by any
// number of threads at once; nothing locks it.
#pragma once

#include <ctime>
#include <map>
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

// "YYYY-MM-DD hh:mm:ss." in local time. "NULL" and the empty text give -1
// silently; any other text without six numbers in that form logs an Error
// line and gives -1.
time_t ParseDateTime(const std::string& text);
