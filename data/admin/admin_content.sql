-- Content of the administration database, loaded after the admin schema.
-- Portable SQL: the same text runs on SQLite and PostgreSQL. Vendor names
-- come from the IANA enterprise list at build time, not from this file.
-- "TableOID" is quoted: unquoted, PostgreSQL folds it to its system column.

-- Tab types ------------------------------------------------------------------
-- horlayout 1: one grid row per table entry; 0: one row per field.
-- agent_cat: 0 hardware, 1 software.

INSERT INTO SNMPTabsTypes (uid, name, horlayout, agent_cat) VALUES
    (1, 'Summary', 0, 0),
    (2, 'Interfaces', 1, 0),
    (3, 'CPU', 1, 0),
    (4, 'Device table', 1, 0),
    (5, 'Installed software', 1, 1),
    (6, 'Running software', 1, 1),
    (7, 'Physical structure', 1, 0),
    (8, 'Printer supplies', 1, 0),
    (9, 'Flash devices', 1, 0),
    (10, 'Flash chips', 1, 0),
    (11, 'Enclosure', 0, 0),
    (12, 'BIOS', 0, 0),
    (13, 'BaseBoard', 0, 0),
    (14, 'Slots', 1, 0),
    (15, 'PC table', 1, 0);

-- The map and data table names of each tab type are in ../sql/table_names.sql,
-- which the inventory template holds as well.

-- Device groups and classes --------------------------------------------------

INSERT INTO SNMPDevGroups (id, name) VALUES
    (1, 'Network equipment'),
    (2, 'Computers'),
    (3, 'Printers and imaging'),
    (4, 'Power and environment'),
    (5, 'Storage');

INSERT INTO SNMPDevClasses (InvDevClassId, InvClassName) VALUES
    (1, 'Router'),
    (2, 'Switch'),
    (3, 'Firewall'),
    (4, 'Wireless access point'),
    (5, 'Server'),
    (6, 'Workstation'),
    (7, 'Printer'),
    (8, 'UPS'),
    (9, 'Storage system');

-- Identification by sysObjectID ----------------------------------------------
-- The scanner reads sysObjectID with its leading dot. The lookup tries the
-- sysObjectID itself, then for each shorter arc A, down to the vendor's own
-- arc, first "A." (the first entry by OID of those below A) and then "A"
-- (only an entry that is exactly A). So an entry without other entries below
-- it stands for itself and everything below it (".1.3.6.1.4.1.9.5" is every
-- Catalyst OS switch), and an entry ending in "." is the default of its
-- subtree: it sorts before every entry below it, so an unknown product below
-- it takes the default, never a sibling's entry. Every vendor has a default
-- at its own arc, and every subtree whose entries differ in group or class
-- has a default that leaves what differs empty. Vendor ids are enterprise
-- numbers.

INSERT INTO SNMPMibMap (OID, VendorId, GroupId, ClassId) VALUES
    -- net-snmp agents by operating system
    ('.1.3.6.1.4.1.8072.', 8072, NULL, NULL),
    ('.1.3.6.1.4.1.8072.3.2.10', 8072, 2, 5),
    ('.1.3.6.1.4.1.8072.3.2.8', 8072, 2, 5),
    ('.1.3.6.1.4.1.8072.3.2.12', 8072, 2, 5),
    ('.1.3.6.1.4.1.8072.3.2.3', 8072, 2, 5),
    ('.1.3.6.1.4.1.8072.3.2.13', 8072, 2, 5),
    ('.1.3.6.1.4.1.8072.3.2.255', 8072, 2, 5),
    -- Windows SNMP service: workstation, server, domain controller
    ('.1.3.6.1.4.1.311.', 311, 2, NULL),
    ('.1.3.6.1.4.1.311.1.1.3.1.', 311, 2, NULL),
    ('.1.3.6.1.4.1.311.1.1.3.1.1', 311, 2, 6),
    ('.1.3.6.1.4.1.311.1.1.3.1.2', 311, 2, 5),
    ('.1.3.6.1.4.1.311.1.1.3.1.3', 311, 2, 5),
    -- Cisco: Catalyst OS switches; IOS products are numbered one by one under
    -- .9.1, switches, routers, firewalls and access points alike, so the
    -- widespread models are listed and the rest are network equipment.
    ('.1.3.6.1.4.1.9.', 9, NULL, NULL),
    ('.1.3.6.1.4.1.9.5', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.', 9, 1, NULL),
    -- Catalyst 4500, 3750 (stacks), 3560, 2960, 2960-S/X (stacks), 3850 and
    -- 3650 (stacks)
    ('.1.3.6.1.4.1.9.1.501', 9, 1, 2), ('.1.3.6.1.4.1.9.1.502', 9, 1, 2), ('.1.3.6.1.4.1.9.1.503', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.537', 9, 1, 2), ('.1.3.6.1.4.1.9.1.516', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.563', 9, 1, 2), ('.1.3.6.1.4.1.9.1.564', 9, 1, 2), ('.1.3.6.1.4.1.9.1.614', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.615', 9, 1, 2), ('.1.3.6.1.4.1.9.1.616', 9, 1, 2), ('.1.3.6.1.4.1.9.1.617', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.694', 9, 1, 2), ('.1.3.6.1.4.1.9.1.695', 9, 1, 2), ('.1.3.6.1.4.1.9.1.696', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.697', 9, 1, 2), ('.1.3.6.1.4.1.9.1.716', 9, 1, 2), ('.1.3.6.1.4.1.9.1.717', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.798', 9, 1, 2), ('.1.3.6.1.4.1.9.1.799', 9, 1, 2), ('.1.3.6.1.4.1.9.1.1208', 9, 1, 2),
    ('.1.3.6.1.4.1.9.1.1745', 9, 1, 2), ('.1.3.6.1.4.1.9.1.2066', 9, 1, 2),
    -- routers: 2800, 3800, 1841, 1900/2900/3900, ISR 4000
    ('.1.3.6.1.4.1.9.1.576', 9, 1, 1), ('.1.3.6.1.4.1.9.1.577', 9, 1, 1), ('.1.3.6.1.4.1.9.1.578', 9, 1, 1),
    ('.1.3.6.1.4.1.9.1.543', 9, 1, 1), ('.1.3.6.1.4.1.9.1.544', 9, 1, 1), ('.1.3.6.1.4.1.9.1.620', 9, 1, 1),
    ('.1.3.6.1.4.1.9.1.1041', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1042', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1043', 9, 1, 1),
    ('.1.3.6.1.4.1.9.1.1044', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1045', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1046', 9, 1, 1),
    ('.1.3.6.1.4.1.9.1.1047', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1705', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1706', 9, 1, 1),
    ('.1.3.6.1.4.1.9.1.1707', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1708', 9, 1, 1), ('.1.3.6.1.4.1.9.1.1935', 9, 1, 1),
    ('.1.3.6.1.4.1.9.1.1999', 9, 1, 1), ('.1.3.6.1.4.1.9.1.2068', 9, 1, 1),
    -- ASA firewalls
    ('.1.3.6.1.4.1.9.1.669', 9, 1, 3), ('.1.3.6.1.4.1.9.1.670', 9, 1, 3), ('.1.3.6.1.4.1.9.1.672', 9, 1, 3),
    ('.1.3.6.1.4.1.9.1.745', 9, 1, 3), ('.1.3.6.1.4.1.9.1.753', 9, 1, 3), ('.1.3.6.1.4.1.9.1.1407', 9, 1, 3),
    ('.1.3.6.1.4.1.9.1.1408', 9, 1, 3), ('.1.3.6.1.4.1.9.1.1409', 9, 1, 3), ('.1.3.6.1.4.1.9.1.1410', 9, 1, 3),
    ('.1.3.6.1.4.1.9.1.1421', 9, 1, 3),
    -- Aironet access points 1130, 1210, 1250
    ('.1.3.6.1.4.1.9.1.618', 9, 1, 4), ('.1.3.6.1.4.1.9.1.525', 9, 1, 4), ('.1.3.6.1.4.1.9.1.758', 9, 1, 4),
    -- Juniper: every product under jnxProductName, one number each
    ('.1.3.6.1.4.1.2636.', 2636, 1, NULL),
    ('.1.3.6.1.4.1.2636.1.1.1.2.', 2636, 1, NULL),
    -- MX routers
    ('.1.3.6.1.4.1.2636.1.1.1.2.21', 2636, 1, 1), ('.1.3.6.1.4.1.2636.1.1.1.2.25', 2636, 1, 1),
    ('.1.3.6.1.4.1.2636.1.1.1.2.29', 2636, 1, 1), ('.1.3.6.1.4.1.2636.1.1.1.2.57', 2636, 1, 1),
    ('.1.3.6.1.4.1.2636.1.1.1.2.88', 2636, 1, 1), ('.1.3.6.1.4.1.2636.1.1.1.2.89', 2636, 1, 1),
    ('.1.3.6.1.4.1.2636.1.1.1.2.90', 2636, 1, 1), ('.1.3.6.1.4.1.2636.1.1.1.2.93', 2636, 1, 1),
    -- EX switches
    ('.1.3.6.1.4.1.2636.1.1.1.2.30', 2636, 1, 2), ('.1.3.6.1.4.1.2636.1.1.1.2.31', 2636, 1, 2),
    ('.1.3.6.1.4.1.2636.1.1.1.2.32', 2636, 1, 2), ('.1.3.6.1.4.1.2636.1.1.1.2.33', 2636, 1, 2),
    ('.1.3.6.1.4.1.2636.1.1.1.2.43', 2636, 1, 2), ('.1.3.6.1.4.1.2636.1.1.1.2.44', 2636, 1, 2),
    ('.1.3.6.1.4.1.2636.1.1.1.2.63', 2636, 1, 2), ('.1.3.6.1.4.1.2636.1.1.1.2.76', 2636, 1, 2),
    ('.1.3.6.1.4.1.2636.1.1.1.2.92', 2636, 1, 2),
    -- SRX firewalls
    ('.1.3.6.1.4.1.2636.1.1.1.2.26', 2636, 1, 3), ('.1.3.6.1.4.1.2636.1.1.1.2.28', 2636, 1, 3),
    ('.1.3.6.1.4.1.2636.1.1.1.2.34', 2636, 1, 3), ('.1.3.6.1.4.1.2636.1.1.1.2.35', 2636, 1, 3),
    ('.1.3.6.1.4.1.2636.1.1.1.2.36', 2636, 1, 3), ('.1.3.6.1.4.1.2636.1.1.1.2.39', 2636, 1, 3),
    ('.1.3.6.1.4.1.2636.1.1.1.2.40', 2636, 1, 3), ('.1.3.6.1.4.1.2636.1.1.1.2.41', 2636, 1, 3),
    ('.1.3.6.1.4.1.2636.1.1.1.2.49', 2636, 1, 3), ('.1.3.6.1.4.1.2636.1.1.1.2.58', 2636, 1, 3),
    ('.1.3.6.1.4.1.2636.1.1.1.2.64', 2636, 1, 3), ('.1.3.6.1.4.1.2636.1.1.1.2.86', 2636, 1, 3),
    -- HP: HP-UX servers, ProCurve switches, printers
    ('.1.3.6.1.4.1.11.', 11, NULL, NULL),
    ('.1.3.6.1.4.1.11.2.3.', 11, NULL, NULL),
    ('.1.3.6.1.4.1.11.2.3.2', 11, 2, 5),
    ('.1.3.6.1.4.1.11.2.3.7.11', 11, 1, 2),
    ('.1.3.6.1.4.1.11.2.3.9.1', 11, 3, 7),
    -- Dell: servers (systems management and iDRAC), PowerConnect switches
    ('.1.3.6.1.4.1.674.', 674, NULL, NULL),
    ('.1.3.6.1.4.1.674.10892', 674, 2, 5),
    ('.1.3.6.1.4.1.674.10895', 674, 1, 2),
    -- Huawei: S-series switches
    ('.1.3.6.1.4.1.2011.', 2011, NULL, NULL),
    ('.1.3.6.1.4.1.2011.2.', 2011, 1, NULL),
    ('.1.3.6.1.4.1.2011.2.23', 2011, 1, 2),
    -- switches, routers, firewalls and wireless of other vendors
    ('.1.3.6.1.4.1.25506.', 25506, 1, NULL), ('.1.3.6.1.4.1.25506.1', 25506, 1, 2),
    ('.1.3.6.1.4.1.1916.', 1916, 1, NULL), ('.1.3.6.1.4.1.1916.2', 1916, 1, 2),
    ('.1.3.6.1.4.1.1991.', 1991, 1, NULL), ('.1.3.6.1.4.1.1991.1.3', 1991, 1, 2),
    ('.1.3.6.1.4.1.6027.', 6027, 1, NULL), ('.1.3.6.1.4.1.6027.1', 6027, 1, 2),
    ('.1.3.6.1.4.1.4526.', 4526, NULL, NULL), ('.1.3.6.1.4.1.4526.100', 4526, 1, 2),
    ('.1.3.6.1.4.1.14988.', 14988, 1, NULL), ('.1.3.6.1.4.1.14988.1', 14988, 1, 1),
    ('.1.3.6.1.4.1.12356.', 12356, 1, NULL), ('.1.3.6.1.4.1.12356.101.1', 12356, 1, 3),
    ('.1.3.6.1.4.1.25461.', 25461, 1, NULL), ('.1.3.6.1.4.1.25461.2.3', 25461, 1, 3),
    ('.1.3.6.1.4.1.41112.', 41112, 1, NULL), ('.1.3.6.1.4.1.41112.1', 41112, 1, 4),
    ('.1.3.6.1.4.1.14823.', 14823, 1, NULL), ('.1.3.6.1.4.1.14823.1.1', 14823, 1, 4),
    -- printers
    ('.1.3.6.1.4.1.641.', 641, 3, NULL), ('.1.3.6.1.4.1.641.1', 641, 3, 7),
    ('.1.3.6.1.4.1.253.', 253, 3, NULL), ('.1.3.6.1.4.1.253.8.62.1', 253, 3, 7),
    ('.1.3.6.1.4.1.367.', 367, 3, NULL), ('.1.3.6.1.4.1.367.1.1', 367, 3, 7),
    ('.1.3.6.1.4.1.1602.', 1602, 3, NULL), ('.1.3.6.1.4.1.1602.4', 1602, 3, 7),
    ('.1.3.6.1.4.1.2435.', 2435, 3, NULL), ('.1.3.6.1.4.1.2435.2.3.9.1', 2435, 3, 7),
    ('.1.3.6.1.4.1.1347.', 1347, 3, NULL), ('.1.3.6.1.4.1.1347.41', 1347, 3, 7),
    ('.1.3.6.1.4.1.18334.', 18334, 3, NULL), ('.1.3.6.1.4.1.18334.1.2.1.2', 18334, 3, 7),
    ('.1.3.6.1.4.1.1248.', 1248, 3, NULL), ('.1.3.6.1.4.1.1248.1.1', 1248, 3, 7),
    -- power: APC UPS families (Smart-UPS and the later ones); rack PDUs and
    -- the rest of APC's products are power equipment without a class
    ('.1.3.6.1.4.1.318.', 318, 4, NULL),
    ('.1.3.6.1.4.1.318.1.3.', 318, 4, NULL),
    ('.1.3.6.1.4.1.318.1.3.2', 318, 4, 8),
    ('.1.3.6.1.4.1.318.1.3.27', 318, 4, 8),
    ('.1.3.6.1.4.1.318.1.3.28', 318, 4, 8);

-- Scan-order strategies: tried in ScOrder order when no row names the
-- device's own sysObjectID. "*" requires the row's id to equal the device's.

INSERT INTO ScanOrder (ScOrder, _Class, _Group, _Vendor) VALUES
    (1, '*', '*', '*'),
    (2, '*', '', '*'),
    (3, '', '', '*'),
    (4, '*', '*', ''),
    (5, '*', '', ''),
    (6, '', '', '');

-- Tabs of a device -----------------------------------------------------------
-- Every device: the standard MIB tabs, and the PC table for its storage.
-- Tabs whose table the agent does not answer are skipped by the scanner, so
-- printers, entities and host resources can be asked of every agent.

INSERT INTO SNMPWhat2Scan (TabId, ScanOrder, Enabled, SysObjId, ClassId, GroupId, VendorId, Agent) VALUES
    (1, 10, 1, 'default', NULL, NULL, NULL, NULL),
    (2, 20, 1, 'default', NULL, NULL, NULL, NULL),
    (3, 30, 1, 'default', NULL, NULL, NULL, NULL),
    (4, 40, 1, 'default', NULL, NULL, NULL, NULL),
    (7, 50, 1, 'default', NULL, NULL, NULL, NULL),
    (8, 60, 1, 'default', NULL, NULL, NULL, NULL),
    (5, 70, 1, 'default', NULL, NULL, NULL, NULL),
    (6, 80, 1, 'default', NULL, NULL, NULL, NULL),
    (15, 150, 1, 'default', NULL, NULL, NULL, NULL);

-- Cisco devices: the same and the flash tabs.
INSERT INTO SNMPWhat2Scan (TabId, ScanOrder, Enabled, SysObjId, ClassId, GroupId, VendorId, Agent) VALUES
    (1, 10, 1, 'default', NULL, NULL, 9, NULL),
    (2, 20, 1, 'default', NULL, NULL, 9, NULL),
    (3, 30, 1, 'default', NULL, NULL, 9, NULL),
    (4, 40, 1, 'default', NULL, NULL, 9, NULL),
    (7, 50, 1, 'default', NULL, NULL, 9, NULL),
    (9, 90, 1, 'default', NULL, NULL, 9, NULL),
    (10, 100, 1, 'default', NULL, NULL, 9, NULL),
    (5, 70, 1, 'default', NULL, NULL, 9, NULL),
    (6, 80, 1, 'default', NULL, NULL, 9, NULL),
    (15, 150, 1, 'default', NULL, NULL, 9, NULL);

-- Hardware served by the enterprise agent (agent type 2): the standard tabs
-- and the five hardware tabs.
INSERT INTO SNMPWhat2Scan (TabId, ScanOrder, Enabled, SysObjId, ClassId, GroupId, VendorId, Agent) VALUES
    (1, 10, 1, 'default', NULL, NULL, NULL, 2),
    (2, 20, 1, 'default', NULL, NULL, NULL, 2),
    (3, 30, 1, 'default', NULL, NULL, NULL, 2),
    (4, 40, 1, 'default', NULL, NULL, NULL, 2),
    (7, 50, 1, 'default', NULL, NULL, NULL, 2),
    (8, 60, 1, 'default', NULL, NULL, NULL, 2),
    (5, 70, 1, 'default', NULL, NULL, NULL, 2),
    (6, 80, 1, 'default', NULL, NULL, NULL, 2),
    (11, 110, 1, 'default', NULL, NULL, NULL, 2),
    (12, 120, 1, 'default', NULL, NULL, NULL, 2),
    (13, 130, 1, 'default', NULL, NULL, NULL, 2),
    (14, 140, 1, 'default', NULL, NULL, NULL, 2),
    (15, 150, 1, 'default', NULL, NULL, NULL, 2);

-- Map tables -----------------------------------------------------------------
-- UID 0 holds the column specification of each field: a title, then
-- keywords (INDEX, PARENT, HIDDEN, SORT, units KB MB GB KHZ MHZ BITS).
-- Cells: ".oid" walks a column, "$FUNCTION(...)" is a value function,
-- "server_..." a value of the scanning server; an empty cell stays empty.

-- Summary: the system group and host resources of the agent. Field 1 is the
-- device id, left empty here and filled from serial number, asset tag or
-- MAC after the scan. The system date is the agent's clock (hrSystemDate, a
-- DateAndTime) as the agent gives it, without its offset from UTC.
CREATE TABLE MapSummary (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT, f10 TEXT,
    f11 TEXT, f12 TEXT, f13 TEXT, f14 TEXT
);
INSERT INTO MapSummary (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14) VALUES
    (0, NULL, 'Device ID,COMPAREFIELD', 'Description', 'Object ID', 'Up time', 'Contact', 'Name,COMPARETITLE',
     'Location', 'Services', 'Address', 'DNS name', 'Memory,MB', 'Users', 'Processes', 'System date');
INSERT INTO MapSummary (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId,
                        f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14) VALUES
    (1, 'VALUE', 1, '', 'std', 'default',
     '', '.1.3.6.1.2.1.1.1', '.1.3.6.1.2.1.1.2', '.1.3.6.1.2.1.1.3', '.1.3.6.1.2.1.1.4', '.1.3.6.1.2.1.1.5',
     '.1.3.6.1.2.1.1.6', '$SERVICE(.1.3.6.1.2.1.1.7)', 'server_ip', 'server_dns',
     '$MUL(.1.3.6.1.2.1.25.2.2,1024)', '.1.3.6.1.2.1.25.1.5', '.1.3.6.1.2.1.25.1.6',
     '$DATE(.1.3.6.1.2.1.25.1.2)');
INSERT INTO MapSummary (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId,
                        f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14) VALUES
    (2, 'GROUP', 'System', 'System', 1, 'default',
     'Device ID', 'Description', 'Object ID', 'Up time', 'Contact', 'Name', 'Location', 'Services',
     'Address', 'DNS name', '', '', '', ''),
    (3, 'GROUP', 'Host resources', 'Host resources', 2, 'default',
     '', '', '', '', '', '', '', '', '', '', 'Memory', 'Users', 'Processes', 'System date');

-- Interfaces: ifTable, then ifXTable merged row by row. Field 7 is the MAC.
CREATE TABLE MapInterfaces (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT, f10 TEXT,
    f11 TEXT, f12 TEXT, f13 TEXT, f14 TEXT, f15 TEXT, f16 TEXT
);
INSERT INTO MapInterfaces (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16) VALUES
    (0, NULL, 'Index,SORT', 'Description', 'Type', 'MTU', 'Speed,BITS', 'Admin status', 'MAC address,COMPAREFIELD',
     'Oper status', 'Last change', 'In octets', 'Out octets', 'In errors', 'Out errors', 'Name,COMPARETITLE',
     'High speed', 'Alias');
INSERT INTO MapInterfaces (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId,
                           f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.2.2.1', 'std', 'default',
     '.1.3.6.1.2.1.2.2.1.1', '.1.3.6.1.2.1.2.2.1.2', '.1.3.6.1.2.1.2.2.1.3', '.1.3.6.1.2.1.2.2.1.4',
     '.1.3.6.1.2.1.2.2.1.5', '.1.3.6.1.2.1.2.2.1.7', '.1.3.6.1.2.1.2.2.1.6', '.1.3.6.1.2.1.2.2.1.8',
     '.1.3.6.1.2.1.2.2.1.9', '.1.3.6.1.2.1.2.2.1.10', '.1.3.6.1.2.1.2.2.1.16', '.1.3.6.1.2.1.2.2.1.14',
     '.1.3.6.1.2.1.2.2.1.20', '', '', ''),
    (3, 'TABLE', 2, '.1.3.6.1.2.1.31.1.1.1', 'std', 'default',
     '', '', '', '', '', '', '', '', '', '', '', '', '',
     '.1.3.6.1.2.1.31.1.1.1.1', '.1.3.6.1.2.1.31.1.1.1.15', '.1.3.6.1.2.1.31.1.1.1.18');
INSERT INTO MapInterfaces (UID, RowType, ScanOrder, SysObjId,
                           f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16) VALUES
    (2, 'ENUMTABLE', 1, 'default',
     '', '', 'EnumIfType', '', '', 'EnumIfStatus', '', 'EnumIfStatus', '', '', '', '', '', '', '', '');
INSERT INTO MapInterfaces (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId,
                           f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16) VALUES
    (4, 'GROUP', 'Interfaces', 'Interfaces', 1, 'default',
     'Index', 'Description', 'Type', 'MTU', 'Speed', 'Admin status', 'MAC address', 'Oper status',
     'Last change', 'In octets', 'Out octets', 'In errors', 'Out errors', 'Name', 'High speed (Mbit/s)', 'Alias');

-- CPU: hrProcessorTable; description and status of the same processors
-- from hrDeviceTable, which lists them in the same order. The line stands on
-- hrDeviceTable: agents answer hrProcessorLoad only after their first minute.
CREATE TABLE MapCPU (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT
);
INSERT INTO MapCPU (UID, RowType, f1, f2, f3, f4, f5) VALUES
    (0, NULL, 'Index,SORT', 'Load', 'Description,COMPARETITLE', 'Status', 'Firmware');
INSERT INTO MapCPU (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.25.3.2.1', 'std', 'default',
     '$GET_INDEX(.1.3.6.1.2.1.25.3.3.1.1)', '.1.3.6.1.2.1.25.3.3.1.2',
     '$LOOKUP(.1.3.6.1.2.1.25.3.2.1,2=.1.3.6.1.2.1.25.3.1.3,VALS 3)',
     '$LOOKUP(.1.3.6.1.2.1.25.3.2.1,2=.1.3.6.1.2.1.25.3.1.3,VALS 5)', '.1.3.6.1.2.1.25.3.3.1.1');
INSERT INTO MapCPU (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', '', 'EnumHrDeviceStatus', '');
INSERT INTO MapCPU (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5) VALUES
    (3, 'GROUP', 'Processors', 'Processors', 1, 'default', 'Index', 'Load (%)', 'Description', 'Status', 'Firmware');

-- Device table: hrDeviceTable. Device types are OIDs.
CREATE TABLE MapDevTable (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT
);
INSERT INTO MapDevTable (UID, RowType, f1, f2, f3, f4, f5, f6) VALUES
    (0, NULL, 'Index,SORT', 'Type', 'Description,COMPARETITLE', 'Status', 'Errors', 'Product ID');
INSERT INTO MapDevTable (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.25.3.2.1', 'std', 'default',
     '.1.3.6.1.2.1.25.3.2.1.1', '.1.3.6.1.2.1.25.3.2.1.2', '.1.3.6.1.2.1.25.3.2.1.3',
     '.1.3.6.1.2.1.25.3.2.1.5', '.1.3.6.1.2.1.25.3.2.1.6', '.1.3.6.1.2.1.25.3.2.1.4');
INSERT INTO MapDevTable (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', 'EnumHrDeviceType,oid,name,text', '', 'EnumHrDeviceStatus', '', '');
INSERT INTO MapDevTable (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6) VALUES
    (3, 'GROUP', 'Devices', 'Devices', 1, 'default', 'Index', 'Type', 'Description', 'Status', 'Errors', 'Product ID');

-- Installed software: hrSWInstalledTable. The install date (a DateAndTime)
-- is field 5, after the product id that field 4 has always held.
CREATE TABLE MapInstalledSoft (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT
);
INSERT INTO MapInstalledSoft (UID, RowType, f1, f2, f3, f4, f5) VALUES
    (0, NULL, 'Index,HIDDEN', 'Name,COMPAREFIELD,COMPARETITLE,SORT', 'Type', 'Product ID', 'Installed');
INSERT INTO MapInstalledSoft (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.25.6.3.1', 'std', 'default',
     '.1.3.6.1.2.1.25.6.3.1.1', '.1.3.6.1.2.1.25.6.3.1.2', '.1.3.6.1.2.1.25.6.3.1.4', '.1.3.6.1.2.1.25.6.3.1.3',
     '$DATE(.1.3.6.1.2.1.25.6.3.1.5)');
INSERT INTO MapInstalledSoft (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', 'EnumHrSWType', '', '');
INSERT INTO MapInstalledSoft (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5) VALUES
    (3, 'GROUP', 'Software', 'Software', 1, 'default', 'Index', 'Name', 'Type', 'Product ID', 'Installed');

-- Running software: hrSWRunTable with hrSWRunPerfTable, same rows.
CREATE TABLE MapRunnedSoft (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT
);
INSERT INTO MapRunnedSoft (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (0, NULL, 'Index,SORT', 'Name,COMPAREFIELD,COMPARETITLE', 'Path', 'Parameters', 'Type', 'Status',
     'CPU time', 'Memory,KB');
INSERT INTO MapRunnedSoft (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.25.4.2.1', 'std', 'default',
     '.1.3.6.1.2.1.25.4.2.1.1', '.1.3.6.1.2.1.25.4.2.1.2', '.1.3.6.1.2.1.25.4.2.1.4', '.1.3.6.1.2.1.25.4.2.1.5',
     '.1.3.6.1.2.1.25.4.2.1.6', '.1.3.6.1.2.1.25.4.2.1.7', '.1.3.6.1.2.1.25.5.1.1.1',
     '$MUL(.1.3.6.1.2.1.25.5.1.1.2,1024)');
INSERT INTO MapRunnedSoft (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', '', '', 'EnumHrSWType', 'EnumHrSWRunStatus', '', '');
INSERT INTO MapRunnedSoft (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (3, 'GROUP', 'Processes', 'Processes', 1, 'default',
     'PID', 'Name', 'Path', 'Parameters', 'Type', 'Status', 'CPU time (1/100 s)', 'Memory');

-- Physical structure: entPhysicalTable, a tree through "contained in".
CREATE TABLE MapPhysicalStructure (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT, f10 TEXT,
    f11 TEXT, f12 TEXT, f13 TEXT, f14 TEXT, f15 TEXT
);
INSERT INTO MapPhysicalStructure (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15) VALUES
    (0, NULL, 'Index,INDEX', 'Description', 'Contained in,PARENT', 'Class', 'Position', 'Name,COMPARETITLE',
     'Hardware revision', 'Firmware revision', 'Software revision', 'Serial number,COMPAREFIELD', 'Manufacturer',
     'Model', 'Alias', 'Asset ID', 'Replaceable');
INSERT INTO MapPhysicalStructure (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId,
                                  f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.47.1.1.1.1', 'std', 'default',
     '$GET_INDEX(.1.3.6.1.2.1.47.1.1.1.1.2)', '.1.3.6.1.2.1.47.1.1.1.1.2', '.1.3.6.1.2.1.47.1.1.1.1.4',
     '.1.3.6.1.2.1.47.1.1.1.1.5', '.1.3.6.1.2.1.47.1.1.1.1.6', '.1.3.6.1.2.1.47.1.1.1.1.7',
     '.1.3.6.1.2.1.47.1.1.1.1.8', '.1.3.6.1.2.1.47.1.1.1.1.9', '.1.3.6.1.2.1.47.1.1.1.1.10',
     '.1.3.6.1.2.1.47.1.1.1.1.11', '.1.3.6.1.2.1.47.1.1.1.1.12', '.1.3.6.1.2.1.47.1.1.1.1.13',
     '.1.3.6.1.2.1.47.1.1.1.1.14', '.1.3.6.1.2.1.47.1.1.1.1.15', '.1.3.6.1.2.1.47.1.1.1.1.16');
INSERT INTO MapPhysicalStructure (UID, RowType, ScanOrder, SysObjId,
                                  f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', '', 'EnumEntPhysicalClass', '', '', '', '', '', '', '', '', '', '',
     'EnumTruthValue');
INSERT INTO MapPhysicalStructure (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId,
                                  f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15) VALUES
    (3, 'GROUP', 'Components', 'Components', 1, 'default',
     'Index', 'Description', 'Contained in', 'Class', 'Position', 'Name', 'Hardware revision', 'Firmware revision',
     'Software revision', 'Serial number', 'Manufacturer', 'Model', 'Alias', 'Asset ID', 'Replaceable');

-- Printer supplies: prtMarkerSuppliesTable.
CREATE TABLE MapPrtSupplies (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT
);
INSERT INTO MapPrtSupplies (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (0, NULL, 'Index,SORT', 'Description,COMPAREFIELD,COMPARETITLE', 'Type', 'Class', 'Unit', 'Max capacity',
     'Level', 'Marker', 'Colorant');
INSERT INTO MapPrtSupplies (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.2.1.43.11.1.1', 'std', 'default',
     '$GET_INDEX(.1.3.6.1.2.1.43.11.1.1.6)', '.1.3.6.1.2.1.43.11.1.1.6', '.1.3.6.1.2.1.43.11.1.1.5',
     '.1.3.6.1.2.1.43.11.1.1.4', '.1.3.6.1.2.1.43.11.1.1.7', '.1.3.6.1.2.1.43.11.1.1.8',
     '.1.3.6.1.2.1.43.11.1.1.9', '.1.3.6.1.2.1.43.11.1.1.2', '.1.3.6.1.2.1.43.11.1.1.3');
INSERT INTO MapPrtSupplies (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', 'EnumPrtSupplyType', 'EnumPrtSupplyClass', 'EnumPrtSupplyUnit',
     '', '', '', '');
INSERT INTO MapPrtSupplies (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (3, 'GROUP', 'Supplies', 'Supplies', 1, 'default',
     'Index', 'Description', 'Type', 'Class', 'Unit', 'Max capacity', 'Level', 'Marker', 'Colorant');

-- Flash devices: ciscoFlashDeviceTable.
CREATE TABLE MapCiscoFlashDev (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT
);
INSERT INTO MapCiscoFlashDev (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (0, NULL, 'Index,SORT', 'Name,COMPAREFIELD,COMPARETITLE', 'Description', 'Size,MB', 'Chips', 'Partitions',
     'Controller', 'Programming jumper', 'Removable');
INSERT INTO MapCiscoFlashDev (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.9.9.10.1.1.2.1', 'std', 'default',
     '$GET_INDEX(.1.3.6.1.4.1.9.9.10.1.1.2.1.2)', '.1.3.6.1.4.1.9.9.10.1.1.2.1.7', '.1.3.6.1.4.1.9.9.10.1.1.2.1.8',
     '.1.3.6.1.4.1.9.9.10.1.1.2.1.2', '.1.3.6.1.4.1.9.9.10.1.1.2.1.6', '.1.3.6.1.4.1.9.9.10.1.1.2.1.5',
     '.1.3.6.1.4.1.9.9.10.1.1.2.1.9', '.1.3.6.1.4.1.9.9.10.1.1.2.1.11', '.1.3.6.1.4.1.9.9.10.1.1.2.1.13');
INSERT INTO MapCiscoFlashDev (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', '', '', '', '', '', 'EnumFlashJumper', 'EnumTruthValue');
INSERT INTO MapCiscoFlashDev (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9) VALUES
    (3, 'GROUP', 'Flash devices', 'Flash devices', 1, 'default',
     'Index', 'Name', 'Description', 'Size', 'Chips', 'Partitions', 'Controller', 'Programming jumper', 'Removable');

-- Flash chips: ciscoFlashChipTable (indexed by device and chip).
CREATE TABLE MapCiscoFlashChips (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT
);
INSERT INTO MapCiscoFlashChips (UID, RowType, f1, f2, f3, f4, f5, f6, f7) VALUES
    (0, NULL, 'Number,SORT', 'Code,COMPAREFIELD', 'Description,COMPARETITLE', 'Write retries', 'Erase retries',
     'Max write retries', 'Max erase retries');
INSERT INTO MapCiscoFlashChips (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.9.9.10.1.1.3.1.1', 'std', 'default',
     'server_index', '.1.3.6.1.4.1.9.9.10.1.1.3.1.1.2', '.1.3.6.1.4.1.9.9.10.1.1.3.1.1.3',
     '.1.3.6.1.4.1.9.9.10.1.1.3.1.1.4', '.1.3.6.1.4.1.9.9.10.1.1.3.1.1.5', '.1.3.6.1.4.1.9.9.10.1.1.3.1.1.6',
     '.1.3.6.1.4.1.9.9.10.1.1.3.1.1.7');
INSERT INTO MapCiscoFlashChips (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7) VALUES
    (2, 'GROUP', 'Flash chips', 'Flash chips', 1, 'default',
     'Number', 'Code', 'Description', 'Write retries', 'Erase retries', 'Max write retries', 'Max erase retries');

-- Hardware tabs of the enterprise agent (layout in README.md): field N is
-- column N of the agent's table.

-- Enclosure: field 9 is the serial number, field 11 the asset tag.
CREATE TABLE MapEnclosure (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT, f10 TEXT,
    f11 TEXT, f12 TEXT
);
INSERT INTO MapEnclosure (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12) VALUES
    (0, NULL, 'Index,HIDDEN', 'Manufacturer', 'Chassis type', 'Version', 'Lock present', 'Boot-up state',
     'Power supply state', 'Thermal state', 'Serial number,COMPAREFIELD,COMPARETITLE', 'Height', 'Asset tag', 'SKU');
INSERT INTO MapEnclosure (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId,
                          f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.39871.1.3.1.1.1', 'std', 'default',
     '.1.3.6.1.4.1.39871.1.3.1.1.1.1', '.1.3.6.1.4.1.39871.1.3.1.1.1.2', '.1.3.6.1.4.1.39871.1.3.1.1.1.3',
     '.1.3.6.1.4.1.39871.1.3.1.1.1.4', '.1.3.6.1.4.1.39871.1.3.1.1.1.5', '.1.3.6.1.4.1.39871.1.3.1.1.1.6',
     '.1.3.6.1.4.1.39871.1.3.1.1.1.7', '.1.3.6.1.4.1.39871.1.3.1.1.1.8', '.1.3.6.1.4.1.39871.1.3.1.1.1.9',
     '.1.3.6.1.4.1.39871.1.3.1.1.1.10', '.1.3.6.1.4.1.39871.1.3.1.1.1.11', '.1.3.6.1.4.1.39871.1.3.1.1.1.12');
INSERT INTO MapEnclosure (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', 'EnumChassisType', '', 'EnumTruthValue', 'EnumHwState', 'EnumHwState',
     'EnumHwState', '', '', '', '');
INSERT INTO MapEnclosure (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId,
                          f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12) VALUES
    (3, 'GROUP', 'Enclosure', 'Enclosure', 1, 'default',
     'Index', 'Manufacturer', 'Chassis type', 'Version', 'Lock present', 'Boot-up state', 'Power supply state',
     'Thermal state', 'Serial number', 'Height (U)', 'Asset tag', 'SKU');

CREATE TABLE MapBIOS (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT
);
INSERT INTO MapBIOS (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (0, NULL, 'Index,HIDDEN', 'Vendor', 'Version,COMPAREFIELD,COMPARETITLE', 'Release date', 'ROM size,KB',
     'SMBIOS version', 'BIOS revision', 'Controller firmware');
INSERT INTO MapBIOS (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.39871.1.3.1.2.1', 'std', 'default',
     '.1.3.6.1.4.1.39871.1.3.1.2.1.1', '.1.3.6.1.4.1.39871.1.3.1.2.1.2', '.1.3.6.1.4.1.39871.1.3.1.2.1.3',
     '.1.3.6.1.4.1.39871.1.3.1.2.1.4', '.1.3.6.1.4.1.39871.1.3.1.2.1.5', '.1.3.6.1.4.1.39871.1.3.1.2.1.6',
     '.1.3.6.1.4.1.39871.1.3.1.2.1.7', '.1.3.6.1.4.1.39871.1.3.1.2.1.8');
INSERT INTO MapBIOS (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (2, 'GROUP', 'BIOS', 'BIOS', 1, 'default',
     'Index', 'Vendor', 'Version', 'Release date', 'ROM size', 'SMBIOS version', 'BIOS revision', 'Controller firmware');

CREATE TABLE MapBaseBoard (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT
);
INSERT INTO MapBaseBoard (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (0, NULL, 'Index,HIDDEN', 'Manufacturer', 'Product,COMPARETITLE', 'Version', 'Serial number,COMPAREFIELD',
     'Asset tag', 'Location', 'Board type');
INSERT INTO MapBaseBoard (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.39871.1.3.1.3.1', 'std', 'default',
     '.1.3.6.1.4.1.39871.1.3.1.3.1.1', '.1.3.6.1.4.1.39871.1.3.1.3.1.2', '.1.3.6.1.4.1.39871.1.3.1.3.1.3',
     '.1.3.6.1.4.1.39871.1.3.1.3.1.4', '.1.3.6.1.4.1.39871.1.3.1.3.1.5', '.1.3.6.1.4.1.39871.1.3.1.3.1.6',
     '.1.3.6.1.4.1.39871.1.3.1.3.1.7', '.1.3.6.1.4.1.39871.1.3.1.3.1.8');
INSERT INTO MapBaseBoard (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', '', '', '', '', '', 'EnumBoardType');
INSERT INTO MapBaseBoard (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7, f8) VALUES
    (3, 'GROUP', 'Base board', 'Base board', 1, 'default',
     'Index', 'Manufacturer', 'Product', 'Version', 'Serial number', 'Asset tag', 'Location', 'Board type');

CREATE TABLE MapSlots (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT
);
INSERT INTO MapSlots (UID, RowType, f1, f2, f3, f4, f5, f6, f7) VALUES
    (0, NULL, 'Index,SORT', 'Designation,COMPAREFIELD,COMPARETITLE', 'Type', 'Bus width', 'Usage', 'Length',
     'Slot id');
INSERT INTO MapSlots (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, f1, f2, f3, f4, f5, f6, f7) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.39871.1.3.1.4.1', 'std', 'default',
     '.1.3.6.1.4.1.39871.1.3.1.4.1.1', '.1.3.6.1.4.1.39871.1.3.1.4.1.2', '.1.3.6.1.4.1.39871.1.3.1.4.1.3',
     '.1.3.6.1.4.1.39871.1.3.1.4.1.4', '.1.3.6.1.4.1.39871.1.3.1.4.1.5', '.1.3.6.1.4.1.39871.1.3.1.4.1.6',
     '.1.3.6.1.4.1.39871.1.3.1.4.1.7');
INSERT INTO MapSlots (UID, RowType, ScanOrder, SysObjId, f1, f2, f3, f4, f5, f6, f7) VALUES
    (2, 'ENUMTABLE', 1, 'default', '', '', 'EnumSlotType', '', 'EnumSlotUsage', 'EnumSlotLength', '');
INSERT INTO MapSlots (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, f1, f2, f3, f4, f5, f6, f7) VALUES
    (3, 'GROUP', 'Slots', 'Slots', 1, 'default',
     'Index', 'Designation', 'Type', 'Bus width (bits)', 'Usage', 'Length', 'Slot id');

-- PC table: the computer system, and the storage of every other agent.
-- Hosts whose hardware the enterprise agent serves (hardware agent type 2)
-- get its computer record (fields 1-12; memory arrives in KB and disk space
-- in MB). Other agents get their hrStorageTable instead (fields 13-19): one
-- row per memory area or file system, sizes in bytes from the allocation
-- unit. The lines and groups carry the agent type, so a host gets one kind
-- of row or the other, never both: a tab's lines must agree in row count.
CREATE TABLE MapPCTable (
    UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT, Plugin TEXT,
    GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
    SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER,
    f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT, f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT, f9 TEXT, f10 TEXT,
    f11 TEXT, f12 TEXT, f13 TEXT, f14 TEXT, f15 TEXT, f16 TEXT, f17 TEXT, f18 TEXT, f19 TEXT
);
INSERT INTO MapPCTable (UID, RowType, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12,
                        f13, f14, f15, f16, f17, f18, f19) VALUES
    (0, NULL, 'Index,HIDDEN', 'Manufacturer', 'Product,COMPARETITLE', 'Version', 'Serial number,COMPAREFIELD',
     'UUID', 'Family', 'Memory,MB', 'Disk space,GB', 'Processors', 'Processor', 'Processor speed,MHZ',
     'Storage index,SORT', 'Storage,COMPAREFIELD,COMPARETITLE', 'Storage type', 'Allocation unit',
     'Size,MB', 'Used,MB', 'Free,MB');
INSERT INTO MapPCTable (UID, RowType, ScanOrder, "TableOID", Plugin, SysObjId, Agent,
                        f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12,
                        f13, f14, f15, f16, f17, f18, f19) VALUES
    (1, 'TABLE', 1, '.1.3.6.1.4.1.39871.1.3.1.5.1', 'std', 'default', 2,
     '.1.3.6.1.4.1.39871.1.3.1.5.1.1', '.1.3.6.1.4.1.39871.1.3.1.5.1.2', '.1.3.6.1.4.1.39871.1.3.1.5.1.3',
     '.1.3.6.1.4.1.39871.1.3.1.5.1.4', '.1.3.6.1.4.1.39871.1.3.1.5.1.5', '.1.3.6.1.4.1.39871.1.3.1.5.1.6',
     '.1.3.6.1.4.1.39871.1.3.1.5.1.7', '$MUL(.1.3.6.1.4.1.39871.1.3.1.5.1.8,1024)',
     '$MUL(.1.3.6.1.4.1.39871.1.3.1.5.1.9,1048576)', '.1.3.6.1.4.1.39871.1.3.1.5.1.10',
     '.1.3.6.1.4.1.39871.1.3.1.5.1.11', '.1.3.6.1.4.1.39871.1.3.1.5.1.12',
     '', '', '', '', '', '', ''),
    (3, 'TABLE', 2, '.1.3.6.1.2.1.25.2.3.1', 'std', 'default', NULL,
     '', '', '', '', '', '', '', '', '', '', '', '',
     '.1.3.6.1.2.1.25.2.3.1.1', '.1.3.6.1.2.1.25.2.3.1.3', '.1.3.6.1.2.1.25.2.3.1.2', '.1.3.6.1.2.1.25.2.3.1.4',
     '$MUL(.1.3.6.1.2.1.25.2.3.1.4,.1.3.6.1.2.1.25.2.3.1.5)',
     '$MUL(.1.3.6.1.2.1.25.2.3.1.4,.1.3.6.1.2.1.25.2.3.1.6)',
     '$MUL(.1.3.6.1.2.1.25.2.3.1.4,$SUB(.1.3.6.1.2.1.25.2.3.1.5,.1.3.6.1.2.1.25.2.3.1.6))');
INSERT INTO MapPCTable (UID, RowType, ScanOrder, SysObjId, Agent, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10,
                        f11, f12, f13, f14, f15, f16, f17, f18, f19) VALUES
    (4, 'ENUMTABLE', 2, 'default', NULL, '', '', '', '', '', '', '', '', '', '', '', '',
     '', '', 'EnumHrStorageType,oid,name,text', '', '', '', '');
INSERT INTO MapPCTable (UID, RowType, GroupName, DefGroupName, TabIndex, SysObjId, Agent,
                        f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12,
                        f13, f14, f15, f16, f17, f18, f19) VALUES
    (2, 'GROUP', 'Computer', 'Computer', 1, 'default', 2,
     'Index', 'Manufacturer', 'Product', 'Version', 'Serial number', 'UUID', 'Family', 'Memory', 'Disk space',
     'Processors', 'Processor', 'Processor speed', '', '', '', '', '', '', ''),
    (5, 'GROUP', 'Storage', 'Storage', 1, 'default', NULL,
     '', '', '', '', '', '', '', '', '', '', '', '',
     'Index', 'Storage', 'Type', 'Allocation unit (bytes)', 'Size', 'Used', 'Free');

-- Enum tables ----------------------------------------------------------------
-- Raw codes of the MIBs (and SMBIOS codes of the enterprise agent) with the
-- names shown instead.

-- IANAifType
CREATE TABLE EnumIfType (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumIfType (uid, name) VALUES
    (1, 'other'), (2, 'regular1822'), (3, 'hdh1822'), (4, 'ddnX25'), (5, 'rfc877x25'), (6, 'ethernetCsmacd'),
    (7, 'iso88023Csmacd'), (8, 'iso88024TokenBus'), (9, 'iso88025TokenRing'), (10, 'iso88026Man'),
    (11, 'starLan'), (12, 'proteon10Mbit'), (13, 'proteon80Mbit'), (14, 'hyperchannel'), (15, 'fddi'),
    (16, 'lapb'), (17, 'sdlc'), (18, 'ds1'), (19, 'e1'), (20, 'basicISDN'), (21, 'primaryISDN'),
    (22, 'propPointToPointSerial'), (23, 'ppp'), (24, 'softwareLoopback'), (25, 'eon'), (26, 'ethernet3Mbit'),
    (27, 'nsip'), (28, 'slip'), (29, 'ultra'), (30, 'ds3'), (31, 'sip'), (32, 'frameRelay'), (33, 'rs232'),
    (34, 'para'), (35, 'arcnet'), (36, 'arcnetPlus'), (37, 'atm'), (38, 'miox25'), (39, 'sonet'),
    (40, 'x25ple'), (41, 'iso88022llc'), (42, 'localTalk'), (43, 'smdsDxi'), (44, 'frameRelayService'),
    (45, 'v35'), (46, 'hssi'), (47, 'hippi'), (48, 'modem'), (49, 'aal5'), (50, 'sonetPath'), (51, 'sonetVT'),
    (52, 'smdsIcip'), (53, 'propVirtual'), (54, 'propMultiplexor'), (55, 'ieee80212'), (56, 'fibreChannel'),
    (57, 'hippiInterface'), (58, 'frameRelayInterconnect'), (59, 'aflane8023'), (60, 'aflane8025'),
    (61, 'cctEmul'), (62, 'fastEther'), (63, 'isdn'), (64, 'v11'), (65, 'v36'), (66, 'g703at64k'),
    (67, 'g703at2mb'), (68, 'qllc'), (69, 'fastEtherFX'), (70, 'channel'), (71, 'ieee80211'),
    (72, 'ibm370parChan'), (73, 'escon'), (74, 'dlsw'), (75, 'isdns'), (76, 'isdnu'), (77, 'lapd'),
    (78, 'ipSwitch'), (79, 'rsrb'), (80, 'atmLogical'), (81, 'ds0'), (82, 'ds0Bundle'), (83, 'bsc'),
    (84, 'async'), (85, 'cnr'), (86, 'iso88025Dtr'), (87, 'eplrs'), (88, 'arap'), (89, 'propCnls'),
    (90, 'hostPad'), (91, 'termPad'), (92, 'frameRelayMPI'), (93, 'x213'), (94, 'adsl'), (95, 'radsl'),
    (96, 'sdsl'), (97, 'vdsl'), (98, 'iso88025CRFPInt'), (99, 'myrinet'), (100, 'voiceEM'), (101, 'voiceFXO'),
    (102, 'voiceFXS'), (103, 'voiceEncap'), (104, 'voiceOverIp'), (105, 'atmDxi'), (106, 'atmFuni'),
    (107, 'atmIma'), (108, 'pppMultilinkBundle'), (109, 'ipOverCdlc'), (110, 'ipOverClaw'), (111, 'stackToStack'),
    (112, 'virtualIpAddress'), (113, 'mpc'), (114, 'ipOverAtm'), (115, 'iso88025Fiber'), (116, 'tdlc'),
    (117, 'gigabitEthernet'), (118, 'hdlc'), (119, 'lapf'), (120, 'v37'), (121, 'x25mlp'), (122, 'x25huntGroup'),
    (123, 'transpHdlc'), (124, 'interleave'), (125, 'fast'), (126, 'ip'), (127, 'docsCableMaclayer'),
    (128, 'docsCableDownstream'), (129, 'docsCableUpstream'), (130, 'a12MppSwitch'), (131, 'tunnel'),
    (132, 'coffee'), (133, 'ces'), (134, 'atmSubInterface'), (135, 'l2vlan'), (136, 'l3ipvlan'),
    (137, 'l3ipxvlan'), (138, 'digitalPowerline'), (139, 'mediaMailOverIp'), (140, 'dtm'), (141, 'dcn'),
    (142, 'ipForward'), (143, 'msdsl'), (144, 'ieee1394'), (145, 'if-gsn'), (146, 'dvbRccMacLayer'),
    (147, 'dvbRccDownstream'), (148, 'dvbRccUpstream'), (149, 'atmVirtual'), (150, 'mplsTunnel'), (151, 'srp'),
    (152, 'voiceOverAtm'), (153, 'voiceOverFrameRelay'), (154, 'idsl'), (155, 'compositeLink'),
    (156, 'ss7SigLink'), (157, 'propWirelessP2P'), (158, 'frForward'), (159, 'rfc1483'), (160, 'usb'),
    (161, 'ieee8023adLag'), (162, 'bgppolicyaccounting'), (163, 'frf16MfrBundle'), (164, 'h323Gatekeeper'),
    (165, 'h323Proxy'), (166, 'mpls'), (167, 'mfSigLink'), (168, 'hdsl2'), (169, 'shdsl'), (170, 'ds1FDL'),
    (171, 'pos'), (172, 'dvbAsiIn'), (173, 'dvbAsiOut'), (174, 'plc'), (175, 'nfas'), (176, 'tr008'),
    (177, 'gr303RDT'), (178, 'gr303IDT'), (179, 'isup'), (180, 'propDocsWirelessMaclayer'),
    (181, 'propDocsWirelessDownstream'), (182, 'propDocsWirelessUpstream'), (183, 'hiperlan2'),
    (184, 'propBWAp2Mp'), (185, 'sonetOverheadChannel'), (186, 'digitalWrapperOverheadChannel'), (187, 'aal2'),
    (188, 'radioMAC'), (189, 'atmRadio'), (190, 'imt'), (191, 'mvl'), (192, 'reachDSL'), (193, 'frDlciEndPt'),
    (194, 'atmVciEndPt'), (195, 'opticalChannel'), (196, 'opticalTransport'), (197, 'propAtm'),
    (198, 'voiceOverCable'), (199, 'infiniband'), (200, 'teLink'), (201, 'q2931'), (202, 'virtualTg'),
    (203, 'sipTg'), (204, 'sipSig'), (205, 'docsCableUpstreamChannel'), (206, 'econet'), (207, 'pon155'),
    (208, 'pon622'), (209, 'bridge'), (210, 'linegroup'), (211, 'voiceEMFGD'), (212, 'voiceFGDEANA'),
    (213, 'voiceDID'), (214, 'mpegTransport'), (215, 'sixToFour'), (216, 'gtp'), (217, 'pdnEtherLoop1'),
    (218, 'pdnEtherLoop2'), (219, 'opticalChannelGroup'), (220, 'homepna'), (221, 'gfp'), (222, 'ciscoISLvlan'),
    (223, 'actelisMetaLOOP'), (224, 'fcipLink'), (225, 'rpr'), (226, 'qam'), (227, 'lmp'), (228, 'cblVectaStar'),
    (229, 'docsCableMCmtsDownstream'), (230, 'adsl2'), (231, 'macSecControlledIF'), (232, 'macSecUncontrolledIF'),
    (233, 'aviciOpticalEther'), (234, 'atmbond'), (235, 'voiceFGDOS'), (236, 'mocaVersion1'),
    (237, 'ieee80216WMAN'), (238, 'adsl2plus'), (239, 'dvbRcsMacLayer'), (240, 'dvbTdm'), (241, 'dvbRcsTdma'),
    (242, 'x86Laps'), (243, 'wwanPP'), (244, 'wwanPP2'), (245, 'voiceEBS'), (246, 'ifPwType'), (247, 'ilan'),
    (248, 'pip'), (249, 'aluELP'), (250, 'gpon'), (251, 'vdsl2'), (252, 'capwapDot11Profile'),
    (253, 'capwapDot11Bss'), (254, 'capwapWtpVirtualRadio'), (255, 'bits'), (256, 'docsCableUpstreamRfPort'),
    (257, 'cableDownstreamRfPort'), (258, 'vmwareVirtualNic'), (259, 'ieee802154'), (260, 'otnOdu'),
    (261, 'otnOtu'), (262, 'ifVfiType'), (263, 'g9981'), (264, 'g9982'), (265, 'g9983'), (266, 'aluEpon'),
    (267, 'aluEponOnu'), (268, 'aluEponPhysicalUni'), (269, 'aluEponLogicalLink'), (270, 'aluGponOnu'),
    (271, 'aluGponPhysicalUni'), (272, 'vmwareNicTeam');

-- ifAdminStatus and ifOperStatus
CREATE TABLE EnumIfStatus (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumIfStatus (uid, name) VALUES
    (1, 'up'), (2, 'down'), (3, 'testing'), (4, 'unknown'), (5, 'dormant'), (6, 'notPresent'), (7, 'lowerLayerDown');

-- hrDeviceType: values are OIDs under hrDeviceTypes
CREATE TABLE EnumHrDeviceType (oid TEXT PRIMARY KEY, name TEXT);
INSERT INTO EnumHrDeviceType (oid, name) VALUES
    ('.1.3.6.1.2.1.25.3.1.1', 'other'), ('.1.3.6.1.2.1.25.3.1.2', 'unknown'),
    ('.1.3.6.1.2.1.25.3.1.3', 'processor'), ('.1.3.6.1.2.1.25.3.1.4', 'network'),
    ('.1.3.6.1.2.1.25.3.1.5', 'printer'), ('.1.3.6.1.2.1.25.3.1.6', 'diskStorage'),
    ('.1.3.6.1.2.1.25.3.1.10', 'video'), ('.1.3.6.1.2.1.25.3.1.11', 'audio'),
    ('.1.3.6.1.2.1.25.3.1.12', 'coprocessor'), ('.1.3.6.1.2.1.25.3.1.13', 'keyboard'),
    ('.1.3.6.1.2.1.25.3.1.14', 'modem'), ('.1.3.6.1.2.1.25.3.1.15', 'parallelPort'),
    ('.1.3.6.1.2.1.25.3.1.16', 'pointing'), ('.1.3.6.1.2.1.25.3.1.17', 'serialPort'),
    ('.1.3.6.1.2.1.25.3.1.18', 'tape'), ('.1.3.6.1.2.1.25.3.1.19', 'clock'),
    ('.1.3.6.1.2.1.25.3.1.20', 'volatileMemory'), ('.1.3.6.1.2.1.25.3.1.21', 'nonVolatileMemory');

-- hrStorageType: values are OIDs under hrStorageTypes
CREATE TABLE EnumHrStorageType (oid TEXT PRIMARY KEY, name TEXT);
INSERT INTO EnumHrStorageType (oid, name) VALUES
    ('.1.3.6.1.2.1.25.2.1.1', 'other'), ('.1.3.6.1.2.1.25.2.1.2', 'ram'),
    ('.1.3.6.1.2.1.25.2.1.3', 'virtualMemory'), ('.1.3.6.1.2.1.25.2.1.4', 'fixedDisk'),
    ('.1.3.6.1.2.1.25.2.1.5', 'removableDisk'), ('.1.3.6.1.2.1.25.2.1.6', 'floppyDisk'),
    ('.1.3.6.1.2.1.25.2.1.7', 'compactDisc'), ('.1.3.6.1.2.1.25.2.1.8', 'ramDisk'),
    ('.1.3.6.1.2.1.25.2.1.9', 'flashMemory'), ('.1.3.6.1.2.1.25.2.1.10', 'networkDisk');

-- hrDeviceStatus
CREATE TABLE EnumHrDeviceStatus (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumHrDeviceStatus (uid, name) VALUES
    (1, 'unknown'), (2, 'running'), (3, 'warning'), (4, 'testing'), (5, 'down');

-- hrSWRunType and hrSWInstalledType
CREATE TABLE EnumHrSWType (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumHrSWType (uid, name) VALUES
    (1, 'unknown'), (2, 'operatingSystem'), (3, 'deviceDriver'), (4, 'application');

-- hrSWRunStatus
CREATE TABLE EnumHrSWRunStatus (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumHrSWRunStatus (uid, name) VALUES
    (1, 'running'), (2, 'runnable'), (3, 'notRunnable'), (4, 'invalid');

-- PhysicalClass
CREATE TABLE EnumEntPhysicalClass (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumEntPhysicalClass (uid, name) VALUES
    (1, 'other'), (2, 'unknown'), (3, 'chassis'), (4, 'backplane'), (5, 'container'), (6, 'powerSupply'),
    (7, 'fan'), (8, 'sensor'), (9, 'module'), (10, 'port'), (11, 'stack'), (12, 'cpu'), (13, 'energyObject'),
    (14, 'battery'), (15, 'storageDrive');

-- TruthValue
CREATE TABLE EnumTruthValue (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumTruthValue (uid, name) VALUES (1, 'true'), (2, 'false');

-- prtMarkerSuppliesType
CREATE TABLE EnumPrtSupplyType (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumPrtSupplyType (uid, name) VALUES
    (1, 'other'), (2, 'unknown'), (3, 'toner'), (4, 'wasteToner'), (5, 'ink'), (6, 'inkCartridge'),
    (7, 'inkRibbon'), (8, 'wasteInk'), (9, 'opc'), (10, 'developer'), (11, 'fuserOil'), (12, 'solidWax'),
    (13, 'ribbonWax'), (14, 'wasteWax'), (15, 'fuser'), (16, 'coronaWire'), (17, 'fuserOilWick'),
    (18, 'cleanerUnit'), (19, 'fuserCleaningPad'), (20, 'transferUnit'), (21, 'tonerCartridge'),
    (22, 'fuserOiler'), (23, 'water'), (24, 'wasteWater'), (25, 'glueWaterAdditive'), (26, 'wastePaper'),
    (27, 'bindingSupply'), (28, 'bandingSupply'), (29, 'stitchingWire'), (30, 'shrinkWrap'), (31, 'paperWrap'),
    (32, 'staples'), (33, 'inserts'), (34, 'covers');

-- prtMarkerSuppliesClass
CREATE TABLE EnumPrtSupplyClass (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumPrtSupplyClass (uid, name) VALUES
    (1, 'other'), (3, 'supplyThatIsConsumed'), (4, 'receptacleThatIsFilled');

-- prtMarkerSuppliesSupplyUnit
CREATE TABLE EnumPrtSupplyUnit (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumPrtSupplyUnit (uid, name) VALUES
    (1, 'other'), (2, 'unknown'), (3, 'tenThousandthsOfInches'), (4, 'micrometers'), (7, 'impressions'),
    (8, 'sheets'), (11, 'hours'), (12, 'thousandthsOfOunces'), (13, 'tenthsOfGrams'),
    (14, 'hundrethsOfFluidOunces'), (15, 'tenthsOfMilliliters'), (16, 'feet'), (17, 'meters'), (18, 'items'),
    (19, 'percent');

-- ciscoFlashDeviceProgrammingJumper
CREATE TABLE EnumFlashJumper (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumFlashJumper (uid, name) VALUES (1, 'installed'), (2, 'notInstalled'), (3, 'unknown');

-- SMBIOS chassis types
CREATE TABLE EnumChassisType (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumChassisType (uid, name) VALUES
    (1, 'Other'), (2, 'Unknown'), (3, 'Desktop'), (4, 'Low Profile Desktop'), (5, 'Pizza Box'),
    (6, 'Mini Tower'), (7, 'Tower'), (8, 'Portable'), (9, 'Laptop'), (10, 'Notebook'), (11, 'Hand Held'),
    (12, 'Docking Station'), (13, 'All in One'), (14, 'Sub Notebook'), (15, 'Space-saving'), (16, 'Lunch Box'),
    (17, 'Main Server Chassis'), (18, 'Expansion Chassis'), (19, 'SubChassis'), (20, 'Bus Expansion Chassis'),
    (21, 'Peripheral Chassis'), (22, 'RAID Chassis'), (23, 'Rack Mount Chassis'), (24, 'Sealed-case PC'),
    (25, 'Multi-system Chassis'), (26, 'Compact PCI'), (27, 'Advanced TCA'), (28, 'Blade'),
    (29, 'Blade Enclosure'), (30, 'Tablet'), (31, 'Convertible'), (32, 'Detachable');

-- SMBIOS enclosure states (boot-up, power supply, thermal)
CREATE TABLE EnumHwState (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumHwState (uid, name) VALUES
    (1, 'Other'), (2, 'Unknown'), (3, 'Safe'), (4, 'Warning'), (5, 'Critical'), (6, 'Non-recoverable');

-- SMBIOS base board types
CREATE TABLE EnumBoardType (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumBoardType (uid, name) VALUES
    (1, 'Unknown'), (2, 'Other'), (3, 'Server Blade'), (4, 'Connectivity Switch'), (5, 'System Management Module'),
    (6, 'Processor Module'), (7, 'I/O Module'), (8, 'Memory Module'), (9, 'Daughter board'), (10, 'Motherboard'),
    (11, 'Processor/Memory Module'), (12, 'Processor/IO Module'), (13, 'Interconnect board');

-- SMBIOS system slot types
CREATE TABLE EnumSlotType (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumSlotType (uid, name) VALUES
    (1, 'Other'), (2, 'Unknown'), (3, 'ISA'), (4, 'MCA'), (5, 'EISA'), (6, 'PCI'), (7, 'PC Card'),
    (8, 'VL-VESA'), (9, 'Proprietary'), (10, 'Processor Card'), (11, 'Proprietary Memory Card'),
    (12, 'I/O Riser Card'), (13, 'NuBus'), (14, 'PCI 66MHz'), (15, 'AGP'), (16, 'AGP 2X'), (17, 'AGP 4X'),
    (18, 'PCI-X'), (19, 'AGP 8X'), (165, 'PCI Express'), (166, 'PCI Express x1'), (167, 'PCI Express x2'),
    (168, 'PCI Express x4'), (169, 'PCI Express x8'), (170, 'PCI Express x16');

-- SMBIOS slot usage and length
CREATE TABLE EnumSlotUsage (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumSlotUsage (uid, name) VALUES
    (1, 'Other'), (2, 'Unknown'), (3, 'Available'), (4, 'In use'), (5, 'Unavailable');
CREATE TABLE EnumSlotLength (uid INTEGER PRIMARY KEY, name TEXT);
INSERT INTO EnumSlotLength (uid, name) VALUES
    (1, 'Other'), (2, 'Unknown'), (3, 'Short'), (4, 'Long'), (5, '2.5" drive form factor'),
    (6, '3.5" drive form factor');

-- Reports --------------------------------------------------------------------
-- Run on an inventory database; "#" is where the server puts its host
-- filter on ScanSummaryData.host_id. Result columns are d1, d2, ...; rows
-- are grouped by d1. A caption holding a unit (KB, MB, GB) scales the value.

INSERT INTO Reports (typeid, type, name, comment, query, unions, headers, sum_column, display_order) VALUES
(1, 0, 'Hosts by vendor', 'Hosts grouped by the vendor found from their sysObjectID',
 'SELECT CASE InventoryHosts.DevVendorId
    WHEN 8072 THEN ''net-snmp'' WHEN 311 THEN ''Microsoft'' WHEN 9 THEN ''Cisco''
    WHEN 2636 THEN ''Juniper Networks'' WHEN 11 THEN ''Hewlett-Packard'' WHEN 2011 THEN ''Huawei''
    WHEN 25506 THEN ''H3C'' WHEN 1916 THEN ''Extreme Networks'' WHEN 1991 THEN ''Brocade''
    WHEN 6027 THEN ''Dell Networking'' WHEN 674 THEN ''Dell'' WHEN 4526 THEN ''Netgear''
    WHEN 14988 THEN ''MikroTik'' WHEN 12356 THEN ''Fortinet'' WHEN 25461 THEN ''Palo Alto Networks''
    WHEN 41112 THEN ''Ubiquiti'' WHEN 14823 THEN ''Aruba'' WHEN 641 THEN ''Lexmark'' WHEN 253 THEN ''Xerox''
    WHEN 367 THEN ''Ricoh'' WHEN 1602 THEN ''Canon'' WHEN 2435 THEN ''Brother'' WHEN 1347 THEN ''Kyocera''
    WHEN 18334 THEN ''Konica Minolta'' WHEN 1248 THEN ''Epson'' WHEN 318 THEN ''APC''
    ELSE ''Enterprise '' || CAST(InventoryHosts.DevVendorId AS TEXT) END AS d1,
  ScanSummaryData.Data6 AS d2, InventoryHosts.NetAddr AS d3, ScanSummaryData.Data2 AS d4
  FROM ScanSummaryData JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Vendor,Host,Address,Description', '1', 1),

(2, 0, 'Hosts by class', 'Hosts grouped by device class',
 'SELECT CASE WHEN InventoryHosts.DevClassId > 0 THEN CAST(InventoryHosts.DevClassId AS TEXT) ELSE '''' END AS d1,
  ScanSummaryData.Data6 AS d2, InventoryHosts.NetAddr AS d3, ScanSummaryData.Data2 AS d4
  FROM ScanSummaryData JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Class#class,Host,Address,Description', '1', 2),

-- The system description of a net-snmp agent holds the host name, so hosts
-- are grouped by the operating system their agent's sysObjectID names (the
-- net-snmp agent OIDs, the Windows SNMP service); other agents' descriptions
-- name their firmware and stand as they are.
(3, 0, 'Hosts by operating system', 'Hosts grouped by the operating system of their agent',
 'SELECT CASE ScanSummaryData.Data3
    WHEN ''.1.3.6.1.4.1.8072.3.2.10'' THEN ''Linux'' WHEN ''.1.3.6.1.4.1.8072.3.2.8'' THEN ''FreeBSD''
    WHEN ''.1.3.6.1.4.1.8072.3.2.7'' THEN ''NetBSD'' WHEN ''.1.3.6.1.4.1.8072.3.2.12'' THEN ''OpenBSD''
    WHEN ''.1.3.6.1.4.1.8072.3.2.17'' THEN ''DragonFly BSD'' WHEN ''.1.3.6.1.4.1.8072.3.2.11'' THEN ''BSD/OS''
    WHEN ''.1.3.6.1.4.1.8072.3.2.3'' THEN ''Solaris'' WHEN ''.1.3.6.1.4.1.8072.3.2.2'' THEN ''SunOS''
    WHEN ''.1.3.6.1.4.1.8072.3.2.1'' THEN ''HP-UX'' WHEN ''.1.3.6.1.4.1.8072.3.2.6'' THEN ''HP-UX''
    WHEN ''.1.3.6.1.4.1.8072.3.2.14'' THEN ''HP-UX'' WHEN ''.1.3.6.1.4.1.8072.3.2.15'' THEN ''AIX''
    WHEN ''.1.3.6.1.4.1.8072.3.2.16'' THEN ''macOS'' WHEN ''.1.3.6.1.4.1.8072.3.2.9'' THEN ''IRIX''
    WHEN ''.1.3.6.1.4.1.8072.3.2.4'' THEN ''OSF/1'' WHEN ''.1.3.6.1.4.1.8072.3.2.5'' THEN ''Ultrix''
    WHEN ''.1.3.6.1.4.1.8072.3.2.13'' THEN ''Windows'' WHEN ''.1.3.6.1.4.1.311.1.1.3.1.1'' THEN ''Windows''
    WHEN ''.1.3.6.1.4.1.311.1.1.3.1.2'' THEN ''Windows'' WHEN ''.1.3.6.1.4.1.311.1.1.3.1.3'' THEN ''Windows''
    ELSE ScanSummaryData.Data2 END AS d1,
  ScanSummaryData.Data6 AS d2, InventoryHosts.NetAddr AS d3, ScanSummaryData.Data4 AS d4
  FROM ScanSummaryData JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Operating system,Host,Address,Up time', '1', 3),

(4, 0, 'Installed software', 'Installed software with the hosts that have it',
 'SELECT ScanInstalledSoftData.Data2 AS d1, ScanSummaryData.Data6 AS d2, InventoryHosts.NetAddr AS d3,
  ScanInstalledSoftData.Data3 AS d4, ScanInstalledSoftData.Data5 AS d5
  FROM ScanInstalledSoftData
  JOIN ScanSummaryData ON ScanSummaryData.host_id = ScanInstalledSoftData.host_id
  JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Software,Host,Address,Type,Installed', '1', 4),

(5, 0, 'Running software', 'Running programs with the hosts that run them',
 'SELECT ScanRunnedSoftData.Data2 AS d1, ScanSummaryData.Data6 AS d2, InventoryHosts.NetAddr AS d3,
  ScanRunnedSoftData.Data3 AS d4, ScanRunnedSoftData.Data8 AS d5
  FROM ScanRunnedSoftData
  JOIN ScanSummaryData ON ScanSummaryData.host_id = ScanRunnedSoftData.host_id
  JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Program,Host,Address,Path,Memory KB', '1', 5),

(6, 0, 'Interfaces', 'Network interfaces of every host with speed and MAC address',
 'SELECT ScanSummaryData.Data6 AS d1, InventoryHosts.NetAddr AS d2, ScanInterfacesData.Data2 AS d3,
  ScanInterfacesData.Data3 AS d4, ScanInterfacesData.Data5 AS d5, ScanInterfacesData.Data7 AS d6,
  ScanInterfacesData.Data8 AS d7
  FROM ScanInterfacesData
  JOIN ScanSummaryData ON ScanSummaryData.host_id = ScanInterfacesData.host_id
  JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Host,Address,Interface,Type,Speed (bit/s),MAC,Status', '', 6),

-- The computer record of the PC table only: its storage rows hold their
-- index in Data13.
(7, 0, 'Memory and storage', 'Memory reported by the agent, installed memory and disk space',
 'SELECT ScanSummaryData.Data6 AS d1, InventoryHosts.NetAddr AS d2, ScanSummaryData.Data11 AS d3,
  ScanPCTableData.Data8 AS d4, ScanPCTableData.Data9 AS d5
  FROM ScanSummaryData
  JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  LEFT JOIN ScanPCTableData ON ScanPCTableData.host_id = ScanSummaryData.host_id
    AND COALESCE(ScanPCTableData.Data13, '''') = ''''
  WHERE # ORDER BY d1',
 '', 'Host,Address,Memory MB,Installed memory MB,Disk space GB', '', 7),

(8, 0, 'Printers and supplies', 'Supplies of every printer with their levels',
 'SELECT ScanSummaryData.Data6 AS d1, InventoryHosts.NetAddr AS d2, ScanPrtSuppliesData.Data2 AS d3,
  ScanPrtSuppliesData.Data3 AS d4, ScanPrtSuppliesData.Data5 AS d5, ScanPrtSuppliesData.Data6 AS d6,
  ScanPrtSuppliesData.Data7 AS d7
  FROM ScanPrtSuppliesData
  JOIN ScanSummaryData ON ScanSummaryData.host_id = ScanPrtSuppliesData.host_id
  JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d1',
 '1', 'Printer,Address,Supply,Type,Unit,Max capacity,Level', '', 8),

(9, 0, 'Hardware by manufacturer', 'Enclosures with serial numbers and asset tags',
 'SELECT ScanEnclosureData.Data2 AS d1, ScanSummaryData.Data6 AS d2, InventoryHosts.NetAddr AS d3,
  ScanEnclosureData.Data3 AS d4, ScanEnclosureData.Data9 AS d5, ScanEnclosureData.Data11 AS d6
  FROM ScanEnclosureData
  JOIN ScanSummaryData ON ScanSummaryData.host_id = ScanEnclosureData.host_id
  JOIN InventoryHosts ON InventoryHosts.uid = ScanSummaryData.host_id
  WHERE # ORDER BY d2',
 '1', 'Manufacturer,Host,Address,Chassis,Serial No,Asset tag', '1', 9);
