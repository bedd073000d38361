INSERT INTO [AllTypes] ([Id]) VALUES (41);
INSERT INTO [AllTypes] ([Id]) VALUES (42);
