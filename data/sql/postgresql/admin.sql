-- schema admin version 1
-- Tables of the administration database that the server reads: tab types,
-- device identification, selection strategies, tabs of a device and reports.
-- Map tables (one per tab type, named by TrvDBTablesNames.MapName) and enum
-- tables are made together with their rows. A map table has the columns
--   UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "TableOID" TEXT,
--   Plugin TEXT, GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER,
--   SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER,
--   Agent INTEGER, f1 TEXT ... fN TEXT (N up to 100).
-- Identifiers are unquoted on purpose (see inventory.sql), except "TableOID":
-- unquoted, PostgreSQL folds it to tableoid, the name of a column every table
-- already has, and refuses the table. Write it quoted wherever it is named;
-- the server reads map rows with SELECT *.

CREATE TABLE SNMPTabsTypes (
    uid INTEGER PRIMARY KEY,
    name TEXT,
    horlayout INTEGER,
    agent_cat INTEGER
);

CREATE TABLE TrvDBTablesNames (
    uid INTEGER PRIMARY KEY,
    MapName TEXT,
    DataName TEXT
);

CREATE TABLE SNMPMibMap (
    OID TEXT,
    VendorId INTEGER,
    GroupId INTEGER,
    ClassId INTEGER
);
CREATE INDEX SNMPMibMap_OID ON SNMPMibMap (OID);

CREATE TABLE SNMPDevVendors (
    oid INTEGER PRIMARY KEY,
    name TEXT
);

CREATE TABLE SNMPDevGroups (
    id INTEGER PRIMARY KEY,
    name TEXT
);

CREATE TABLE SNMPDevClasses (
    InvDevClassId INTEGER PRIMARY KEY,
    InvClassName TEXT
);

CREATE TABLE ScanOrder (
    ScOrder INTEGER,
    _Class TEXT,
    _Group TEXT,
    _Vendor TEXT
);

CREATE TABLE SNMPWhat2Scan (
    TabId INTEGER,
    ScanOrder INTEGER,
    Enabled INTEGER,
    SysObjId TEXT,
    ClassId INTEGER,
    GroupId INTEGER,
    VendorId INTEGER,
    Agent INTEGER
);

CREATE TABLE Reports (
    typeid INTEGER PRIMARY KEY,
    type INTEGER,
    name TEXT,
    comment TEXT,
    query TEXT,
    unions TEXT,
    headers TEXT,
    sum_column TEXT,
    display_order INTEGER
);
