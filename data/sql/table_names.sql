-- The map table and the data table of each tab type. Loaded into the
-- administration database (with admin_content.sql) and into the inventory
-- template, whose copies answer which table a stored tab's data is in.
-- Portable SQL: the same text runs on SQLite and PostgreSQL.

INSERT INTO TrvDBTablesNames (uid, MapName, DataName) VALUES
    (1, 'MapSummary', 'ScanSummaryData'),
    (2, 'MapInterfaces', 'ScanInterfacesData'),
    (3, 'MapCPU', 'ScanCPUData'),
    (4, 'MapDevTable', 'ScanDevTableData'),
    (5, 'MapInstalledSoft', 'ScanInstalledSoftData'),
    (6, 'MapRunnedSoft', 'ScanRunnedSoftData'),
    (7, 'MapPhysicalStructure', 'ScanPhysicalStructureData'),
    (8, 'MapPrtSupplies', 'ScanPrtSuppliesData'),
    (9, 'MapCiscoFlashDev', 'ScanCiscoFlashDevData'),
    (10, 'MapCiscoFlashChips', 'ScanCiscoFlashChipsData'),
    (11, 'MapEnclosure', 'ScanEnclosureData'),
    (12, 'MapBIOS', 'ScanBIOSData'),
    (13, 'MapBaseBoard', 'ScanBaseBoardData'),
    (14, 'MapSlots', 'ScanSlotsData'),
    (15, 'MapPCTable', 'ScanPCTableData');
