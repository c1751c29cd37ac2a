-- Tables of Vorn.mdb. Type names drive the data layer:
--   INTEGER PRIMARY KEY AUTOINCREMENT  autonumber
--   INTEGER / SMALLINT                 32- / 16-bit integer (both held as 32-bit in memory)
--   DOUBLE                             64-bit real
--   VARCHAR(n)                         text of at most n characters
--   TEXT                               memo
--   DATETIME                           date and time, stored as 'yyyy-MM-dd[ HH:mm:ss]'
--   BOOLEAN                            yes/no, stored as 0 or 1
-- Text compares without regard to case, as the filter and locate texts expect.

-- Archive tables: written at each post.
CREATE TABLE data0004 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Part_number VARCHAR(50) COLLATE NOCASE,
    Customer_Part VARCHAR(50) COLLATE NOCASE,
    Layer INTEGER,
    Employee VARCHAR(50) COLLATE NOCASE,
    Date DATETIME,
    Time INTEGER,
    Part_L DOUBLE, Part_W DOUBLE, Part_C DOUBLE, SetBorder_L DOUBLE, SetBorder_W DOUBLE,
    Part_La INTEGER, Part_Wb INTEGER, Part_Lb INTEGER, Part_Wa INTEGER, PanelCu INTEGER,
    Panel_lvCu DOUBLE,
    Set_L DOUBLE, Set_W DOUBLE, Set_C DOUBLE, Panel_L DOUBLE, Panel_W DOUBLE,
    Border_L DOUBLE, Border_W DOUBLE,
    Set_La INTEGER, Set_Wb INTEGER, Set_Lb INTEGER, Set_Wa INTEGER, Set_sLa INTEGER, Set_sWb INTEGER,
    Up VARCHAR(5) COLLATE NOCASE,
    Panel INTEGER,
    Panel_lv DOUBLE,
    P_La INTEGER, P_Wb INTEGER, P_Lb INTEGER, P_Wa INTEGER, P_sLa INTEGER, P_sWb INTEGER,
    P_up VARCHAR(5) COLLATE NOCASE,
    Panel_N INTEGER,
    Base_L DOUBLE, Base_W DOUBLE, Base_lv DOUBLE,
    Panel_L2 DOUBLE, Panel_W2 DOUBLE, Border_L2 DOUBLE, Border_W2 DOUBLE,
    Set_La2 INTEGER, Set_Wb2 INTEGER, Set_Lb2 INTEGER, Set_Wa2 INTEGER, Set_sLa2 INTEGER, Set_sWb2 INTEGER,
    Up2 VARCHAR(5) COLLATE NOCASE,
    Panel2 INTEGER,
    Panel_lv2 DOUBLE,
    P_La2 INTEGER, P_Wb2 INTEGER, P_Lb2 INTEGER, P_Wa2 INTEGER,
    Note TEXT
);

CREATE TABLE Data0005 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    D4_PTR INTEGER,
    PanelType VARCHAR(50) COLLATE NOCASE,
    SerialNumber INTEGER,
    Xcoordinate DOUBLE, Ycoordinate DOUBLE, Diameter DOUBLE
);
-- A part's holes are looked up by their part (the query window follows the
-- selected part; save and delete replace a part's holes).
CREATE INDEX Data0005_D4_PTR ON Data0005 (D4_PTR);

-- Settings tables: written by the save command of their window.
CREATE TABLE SetBase (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Base_L DOUBLE,
    Base_W DOUBLE,
    Enbled BOOLEAN
);

CREATE TABLE SetPanel (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Number INTEGER,
    Panel_L DOUBLE,
    Panel_W DOUBLE,
    Enabled BOOLEAN
);

CREATE TABLE SetTooling (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Type VARCHAR(50) COLLATE NOCASE,
    SerialNumber INTEGER,
    Level_Edge VARCHAR(50) COLLATE NOCASE,
    EdgeSize DOUBLE,
    OtherSize DOUBLE,
    Diameter DOUBLE
);

-- Working tables: always empty in the file; their rows live in memory only.
CREATE TABLE TempInput (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Layer INTEGER,
    Part_L DOUBLE, Part_W DOUBLE, Part_C DOUBLE, SetBorder_L DOUBLE, SetBorder_W DOUBLE,
    Part_La INTEGER, Part_Wb INTEGER, Part_Lb INTEGER, Part_Wa INTEGER, PanelCu INTEGER,
    Panel_lvCu DOUBLE,
    Set_L DOUBLE, Set_W DOUBLE, Set_C DOUBLE,
    Panel_L DOUBLE, Panel_W DOUBLE, BorderX_L DOUBLE, BorderX_W DOUBLE,
    Min_lv DOUBLE,
    Border_L DOUBLE, Border_W DOUBLE,
    Set_La INTEGER, Set_Wb INTEGER, Set_Lb INTEGER, Set_Wa INTEGER, Set_sLa INTEGER, Set_sWb INTEGER,
    Up VARCHAR(5) COLLATE NOCASE,
    Panel INTEGER,
    Panel_lv DOUBLE,
    P_La INTEGER, P_Wb INTEGER, P_Lb INTEGER, P_Wa INTEGER, P_sLa INTEGER, P_sWb INTEGER,
    P_up VARCHAR(5) COLLATE NOCASE,
    Panel_N INTEGER,
    Base_L DOUBLE, Base_W DOUBLE,
    Base_lv DOUBLE,
    Base_down DOUBLE, Panel_down DOUBLE,
    Min_PL DOUBLE, Min_PW DOUBLE, Max_PL DOUBLE, Max_PW DOUBLE,
    PLPW_ratio DOUBLE,
    Panel_L2 DOUBLE, Panel_W2 DOUBLE,
    Border_L2 DOUBLE, Border_W2 DOUBLE,
    Set_La2 INTEGER, Set_Wb2 INTEGER, Set_Lb2 INTEGER, Set_Wa2 INTEGER, Set_sLa2 INTEGER, Set_sWb2 INTEGER,
    Up2 VARCHAR(5) COLLATE NOCASE,
    Panel2 INTEGER,
    Panel_lv2 DOUBLE,
    P_La2 INTEGER, P_Wb2 INTEGER, P_Lb2 INTEGER, P_Wa2 INTEGER
);

CREATE TABLE TempResult (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Number SMALLINT,
    Set_L DOUBLE, Set_W DOUBLE, Set_C DOUBLE,
    Panel_L DOUBLE, Panel_W DOUBLE,
    Border_L DOUBLE, Border_W DOUBLE,
    Set_La SMALLINT, Set_Wb SMALLINT, Set_Lb SMALLINT, Set_Wa SMALLINT,
    Set_sLa INTEGER, Set_sWb INTEGER,
    Up VARCHAR(5) COLLATE NOCASE,
    Panel SMALLINT,
    Panel_lv DOUBLE,
    P_La INTEGER, P_Wb INTEGER, P_Lb INTEGER, P_Wa INTEGER, P_sLa INTEGER, P_sWb INTEGER,
    P_up VARCHAR(5) COLLATE NOCASE,
    Panel_N SMALLINT,
    Base_L DOUBLE, Base_W DOUBLE,
    Base_lv DOUBLE,
    Base_down DOUBLE, Panel_down DOUBLE,
    Panel_L2 DOUBLE, Panel_W2 DOUBLE,
    Border_L2 DOUBLE, Border_W2 DOUBLE,
    Set_La2 INTEGER, Set_Wb2 INTEGER, Set_Lb2 INTEGER, Set_Wa2 INTEGER, Set_sLa2 INTEGER, Set_sWb2 INTEGER,
    Up2 VARCHAR(5) COLLATE NOCASE,
    Panel2 INTEGER,
    Panel_lv2 DOUBLE,
    P_La2 INTEGER, P_Wb2 INTEGER, P_Lb2 INTEGER, P_Wa2 INTEGER
);

CREATE TABLE TempTooling (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    PanelType VARCHAR(50) COLLATE NOCASE,
    SerialNumber INTEGER,
    Xcoordinate DOUBLE, Ycoordinate DOUBLE, Diameter DOUBLE
);

CREATE TABLE Temp_inner (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Number INTEGER,
    Panel_L DOUBLE, Panel_W DOUBLE,
    Panel_Lint INTEGER, Panel_Wint INTEGER,
    Panel_LxW DOUBLE
);

CREATE TABLE TempResultCus (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Number INTEGER,
    Part_L DOUBLE, Part_W DOUBLE, Part_C DOUBLE,
    SetBorder_L DOUBLE, SetBorder_W DOUBLE,
    Part_La INTEGER, Part_Wb INTEGER, Part_Lb INTEGER, Part_Wa INTEGER,
    Set_L DOUBLE, Set_W DOUBLE,
    Panel INTEGER,
    Panel_Down DOUBLE,
    Panel_lv DOUBLE
);

CREATE TABLE TempInputCus (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Part_L DOUBLE, Part_W DOUBLE, Part_C DOUBLE, SetBorder_L DOUBLE, SetBorder_W DOUBLE,
    Part_La INTEGER, Part_Wb INTEGER, Part_Lb INTEGER, Part_Wa INTEGER,
    Set_L DOUBLE, Set_W DOUBLE,
    Min_SetL DOUBLE, Min_SetW DOUBLE, Max_SetL DOUBLE, Max_SetW DOUBLE,
    Panel INTEGER,
    Panel_lv DOUBLE
);
