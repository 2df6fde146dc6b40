#include "recording_services.h"

#include <tinyxml.h>

DataLoader* RecordingServices::GetDataSource(const std::string& client_type)
{
    std::lock_guard<std::mutex> hold(m_);
    auto found = sources_.find(client_type);
    return found == sources_.end() ? nullptr : found->second;
}

DataLoader* RecordingServices::GetAdminDataSource()
{
    return GetDataSource("ADMIN");
}

std::string RecordingServices::GetServerHost()
{
    std::lock_guard<std::mutex> hold(m_);
    return server_host_;
}

std::string RecordingServices::GetItemTitle(const std::string& client_type, int uid)
{
    std::lock_guard<std::mutex> hold(m_);
    auto found = titles_.find({client_type, uid});
    return found == titles_.end() ? std::string() : found->second;
}

void RecordingServices::SendTo(TRVConnector* connector, const TiXmlElement& element)
{
    record(connector, std::string(), element);
}

void RecordingServices::SendToClientsOfType(const TiXmlElement& element,
                                            const std::string& client_type)
{
    record(nullptr, client_type, element);
}

void RecordingServices::BroadcastTreeItem(Job* job, int flag)
{
    std::lock_guard<std::mutex> hold(m_);
    calls_.push_back(Call{"BroadcastTreeItem", 0, flag, std::string(), -1, nullptr, job});
}

int RecordingServices::SendTreeItem(int uid, const std::string& client_type,
                                    TRVConnector* connector, int synch)
{
    std::lock_guard<std::mutex> hold(m_);
    calls_.push_back(Call{"SendTreeItem", uid, 0, client_type, synch, connector, nullptr});
    return 0;
}

void RecordingServices::SendTreeItemList(int uid, int value, const std::string& client_type,
                                         int synch, TRVConnector* connector)
{
    std::lock_guard<std::mutex> hold(m_);
    calls_.push_back(Call{"SendTreeItemList", uid, value, client_type, synch, connector, nullptr});
}

void RecordingServices::set_data_source(const std::string& key, DataLoader* loader)
{
    std::lock_guard<std::mutex> hold(m_);
    sources_[key] = loader;
}

void RecordingServices::set_server_host(const std::string& host)
{
    std::lock_guard<std::mutex> hold(m_);
    server_host_ = host;
}

void RecordingServices::set_item_title(const std::string& client_type, int uid,
                                       const std::string& title)
{
    std::lock_guard<std::mutex> hold(m_);
    titles_[{client_type, uid}] = title;
}

std::vector<RecordingServices::Push> RecordingServices::pushes() const
{
    std::lock_guard<std::mutex> hold(m_);
    return pushes_;
}

std::vector<RecordingServices::Call> RecordingServices::calls() const
{
    std::lock_guard<std::mutex> hold(m_);
    return calls_;
}

std::vector<std::string> RecordingServices::log_texts() const
{
    std::vector<std::string> texts;
    for (const Push& push : pushes()) {
        TiXmlDocument doc;
        doc.Parse(push.xml.c_str());
        const TiXmlElement* root = doc.RootElement();
        if (root != nullptr && root->ValueStr() == "LOG" && root->Attribute("text") != nullptr)
            texts.push_back(root->Attribute("text"));
    }
    return texts;
}

void RecordingServices::clear()
{
    std::lock_guard<std::mutex> hold(m_);
    pushes_.clear();
    calls_.clear();
}

void RecordingServices::record(TRVConnector* connector, const std::string& client_type,
                               const TiXmlElement& element)
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    std::lock_guard<std::mutex> hold(m_);
    pushes_.push_back(Push{connector, client_type, printer.CStr()});
}
