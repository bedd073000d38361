INSERT INTO [Region] ([Code]) VALUES ('N');
INSERT INTO [Shop] ([Id], [RegionCode]) VALUES (1, 'N');
