-- What a new installation starts with. Lengths in inches.

-- Standard laminate sheets.
INSERT INTO SetBase (Base_L, Base_W, Enbled) VALUES
    (48, 36, 1), (48, 40, 1), (48, 42, 1),
    (49, 37, 1), (49, 41, 1), (49, 43, 1);

-- Common working panels.
INSERT INTO SetPanel (Number, Panel_L, Panel_W, Enabled) VALUES
    (1, 24, 18, 1), (2, 20, 16, 1), (3, 24.5, 20.5, 1), (4, 21, 16, 1), (5, 18, 12, 0);

-- Tooling holes: one near each corner of a panel on the long edges, and
-- three on an array (two at the top, one offset at the bottom so that the
-- array cannot be loaded turned round).
INSERT INTO SetTooling (Type, SerialNumber, Level_Edge, EdgeSize, OtherSize, Diameter) VALUES
    ('Panel', 1, 'Top_Edge', 0.2, 0.3, 0.125),
    ('Panel', 2, 'Top_Edge', 0.2, -0.3, 0.125),
    ('Panel', 3, 'Bottom_Edge', 0.2, 0.3, 0.125),
    ('Panel', 4, 'Bottom_Edge', 0.2, -0.5, 0.125),
    ('Array', 1, 'Top_Edge', 0.1, 0.2, 0.0787),
    ('Array', 2, 'Top_Edge', 0.1, -0.2, 0.0787),
    ('Array', 3, 'Bottom_Edge', 0.1, 0.2, 0.0787);
