// The TREEITEM of a host built from its scan job, kept apart from the other
// tree items because only it needs the scan library's Job.
#include "loader.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "services.h"
#include "job.h"

#include <tinyxml.h>

TiXmlElement DataLoader::host_to_xml(DataLoader* loader, Job& job, int status)
{
    TiXmlElement element("TREEITEM");
    if (!exists(loader))
        return element;
    guarded([&] {
        qr_automutex hold(*loader->mutex_);
        const int uid = job.get_host_uid();
        const std::string address = job.get_net_addr();
        const std::string dns_name = job.get_dns_name();
        const int class_id = job.get_dev_class_id();
        std::string vendor, class_name;
        if (DataLoader* admin = GetAdminDataSource()) {
            vendor = get_vendor_name(admin, job.get_dev_vendor_id());
            class_name = get_device_class_name(admin, class_id);
        }
        element.SetAttribute("uid", uid);
        element.SetAttribute("parent", job.get_as_of_id());
        element.SetAttribute("type", 3);
        element.SetAttribute("status", status);
        element.SetAttribute("hosttype", job.get_dev_group_id());
        element.SetAttribute("locked", 0);
        element.SetAttribute("name", dns_name + " " + address);
        element.SetAttribute("date", job.get_time_stamp());
        element.SetAttribute("ip", address);
        element.SetAttribute("dnsname", dns_name);
        element.SetAttribute("netname", job.get_net_name());
        element.SetAttribute("hasping", job.get_has_ping() ? "Y" : "N");
        element.SetAttribute("hassnmp", "Y");
        element.SetAttribute("vendor", vendor);
        element.SetAttribute("class", class_name);
        element.SetAttribute("classid", class_id);
        element.SetAttribute("haschildren", has_children(loader, uid) ? 1 : 0);
        element.SetAttribute("comment", "");
    });
    return element;
}
