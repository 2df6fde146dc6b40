#include "xmldom.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libxml/chvalid.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

namespace {

std::string SystemError(int err)
{
    return std::string(std::strerror(err)) + " (errno " + std::to_string(err) + ")";
}

std::string Text(const xmlChar* text)
{
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// libxml2's messages end with a line break.
std::string Message(const xmlError* error)
{
    std::string text = error != nullptr && error->message != nullptr ? error->message : "unknown error";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string& reason)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = "cannot open " + path + ": " + SystemError(errno);
        return false;
    }
    content.clear();
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = "cannot read " + path + ": " + SystemError(errno);
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return true;
}

bool WriteAll(int fd, const char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t put = ::write(fd, data + done, size - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

bool XmlDomUsable(std::string& reason)
{
    xmlInitParser();
    // The library's version number is major * 10000 + minor * 100 + release.
    const int running = std::atoi(xmlParserVersion);
    if (running < LIBXML_VERSION) {
        reason = "libxml2 " + std::string(xmlParserVersion) + " is older than " +
                 std::to_string(LIBXML_VERSION) + ", the version this program was built against";
        return false;
    }
    const struct {
        xmlFeature feature;
        const char* name;
    } needed[] = {{XML_WITH_TREE, "tree"}, {XML_WITH_XPATH, "XPath"}, {XML_WITH_OUTPUT, "output"}};
    for (const auto& n : needed) {
        if (!xmlHasFeature(n.feature)) {
            reason = std::string("libxml2 was built without its ") + n.name + " support";
            return false;
        }
    }
    return true;
}

bool XmlDomIsName(const std::string& text)
{
    return !text.empty() && text.find('\0') == std::string::npos &&
           xmlValidateNCName(reinterpret_cast<const xmlChar*>(text.c_str()), 0) == 0;
}

// Only XML 1.0 characters in valid UTF-8: anything else would be written as a
// file that no parser reads back.
bool XmlDomIsText(const std::string& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
    size_t left = text.size();
    while (left > 0) {
        int len = static_cast<int>(left < 4 ? left : 4);
        int c = xmlGetUTF8Char(bytes, &len);
        if (c < 0 || !xmlIsCharQ(c))
            return false;
        bytes += len;
        left -= static_cast<size_t>(len);
    }
    return true;
}

// ---- nodes ---------------------------------------------------------------

std::string XmlDomNode::name() const
{
    return node_ != nullptr ? Text(node_->name) : std::string();
}

std::string XmlDomNode::text() const
{
    if (node_ == nullptr)
        return std::string();
    std::unique_ptr<xmlChar, void (*)(void*)> content(xmlNodeGetContent(node_), xmlFree);
    return Text(content.get());
}

XmlDomNode XmlDomNode::select_single_node(const std::string& xpath, std::string* error) const
{
    if (node_ == nullptr || node_->doc == nullptr) {
        if (error != nullptr)
            *error = "no node to select from";
        return XmlDomNode();
    }
    std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)> context(
        xmlXPathNewContext(node_->doc), xmlXPathFreeContext);
    if (!context) {
        if (error != nullptr)
            *error = "out of memory";
        return XmlDomNode();
    }
    context->node = node_;
    // Errors are kept in the context, not printed to the standard error.
    context->error = [](void*, xmlErrorPtr) {};
    std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(xpath.c_str()), context.get()),
        xmlXPathFreeObject);
    if (!result) {
        if (error != nullptr)
            *error = "invalid XPath '" + xpath + "': " + Message(&context->lastError);
        return XmlDomNode();
    }
    if (result->type != XPATH_NODESET) {
        if (error != nullptr)
            *error = "XPath '" + xpath + "' selects no nodes";
        return XmlDomNode();
    }
    if (error != nullptr)
        error->clear();
    xmlNodeSetPtr nodes = result->nodesetval;
    if (nodes == nullptr || nodes->nodeNr == 0)
        return XmlDomNode();
    xmlXPathNodeSetSort(nodes);
    return XmlDomNode(nodes->nodeTab[0]);
}

bool XmlDomNode::set_attribute(const std::string& name, const std::string& value, std::string& error)
{
    if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) {
        error = "not an element";
        return false;
    }
    if (!XmlDomIsName(name)) {
        error = "'" + name + "' is no attribute name";
        return false;
    }
    if (!XmlDomIsText(value)) {
        error = "the value is no UTF-8 text an XML file can hold";
        return false;
    }
    if (xmlSetProp(node_, reinterpret_cast<const xmlChar*>(name.c_str()),
                   reinterpret_cast<const xmlChar*>(value.c_str())) == nullptr) {
        error = "out of memory";
        return false;
    }
    return true;
}

XmlDomNode XmlDomNode::append_element(const std::string& name, std::string& error)
{
    if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) {
        error = "not an element";
        return XmlDomNode();
    }
    if (!XmlDomIsName(name)) {
        error = "'" + name + "' is no element name";
        return XmlDomNode();
    }
    xmlNodePtr child =
        xmlNewChild(node_, nullptr, reinterpret_cast<const xmlChar*>(name.c_str()), nullptr);
    if (child == nullptr)
        error = "out of memory";
    return XmlDomNode(child);
}

// ---- the document ----------------------------------------------------------

XmlDomDocument::~XmlDomDocument()
{
    if (doc_ != nullptr)
        xmlFreeDoc(doc_);
}

bool XmlDomDocument::load(const std::string& path, std::string& reason)
{
    if (doc_ != nullptr) {
        xmlFreeDoc(doc_);
        doc_ = nullptr;
    }
    // Read the file here rather than let the parser open it: the system's
    // own error is clearer, and the parser never reaches past this file.
    std::string content;
    if (!ReadWholeFile(path, content, reason))
        return false;
    if (content.size() > static_cast<size_t>(INT_MAX)) {
        reason = path + " is too large";
        return false;
    }
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> parser(xmlNewParserCtxt(),
                                                                      xmlFreeParserCtxt);
    if (!parser) {
        reason = "out of memory";
        return false;
    }
    // The first error is the cause; the parser's last one is often only its
    // consequence ("Premature end of data" after a mismatched tag).
    std::string first_error;
    parser->_private = &first_error;
    parser->sax->serror = [](void* user, xmlErrorPtr error) {
        auto* first = static_cast<std::string*>(static_cast<xmlParserCtxtPtr>(user)->_private);
        if (first->empty() && error != nullptr && error->level >= XML_ERR_ERROR)
            *first = Message(error) + " (line " + std::to_string(error->line) + ")";
    };
    doc_ = xmlCtxtReadMemory(parser.get(), content.data(), static_cast<int>(content.size()),
                             path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc_ == nullptr) {
        if (first_error.empty()) {
            const xmlError* error = xmlCtxtGetLastError(parser.get());
            first_error = Message(error) + " (line " + std::to_string(error != nullptr ? error->line : 0) + ")";
        }
        reason = path + ": " + first_error;
        return false;
    }
    if (xmlDocGetRootElement(doc_) == nullptr) {
        reason = "no root element (" + path + ")";
        xmlFreeDoc(doc_);
        doc_ = nullptr;
        return false;
    }
    return true;
}

XmlDomNode XmlDomDocument::document_element() const
{
    return XmlDomNode(doc_ != nullptr ? xmlDocGetRootElement(doc_) : nullptr);
}

bool XmlDomDocument::save(const std::string& path, std::string& error) const
{
    if (doc_ == nullptr) {
        error = "no document to save";
        return false;
    }
    xmlChar* dumped = nullptr;
    int size = 0;
    // In the encoding the file declared, as it was read.
    xmlDocDumpMemory(doc_, &dumped, &size);
    std::unique_ptr<xmlChar, void (*)(void*)> text(dumped, xmlFree);
    if (!text || size < 0) {
        error = "cannot serialise the document for " + path;
        return false;
    }

    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;

    std::string temp_name = (folder == "/" ? "" : folder) + "/." + base + ".XXXXXX";
    std::vector<char> temp(temp_name.begin(), temp_name.end());
    temp.push_back('\0');
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a temporary file in " + folder + ": " + SystemError(errno);
        return false;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, reinterpret_cast<const char*>(text.get()),
                                                  static_cast<size_t>(size)) &&
              ::fsync(fd) == 0;
    int err = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.data(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.data());
        error = "cannot write " + path + ": " + SystemError(err);
        return false;
    }
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || ::fsync(dir) != 0) {
        err = errno;
        if (dir >= 0)
            ::close(dir);
        error = "cannot flush the folder " + folder + ": " + SystemError(err);
        return false;
    }
    ::close(dir);
    return true;
}
