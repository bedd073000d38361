INSERT INTO [Keep] ([Id], [Name]) VALUES (1, 'one');
INSERT INTO [Keep] ([Id], [Name]) VALUES (2, 'two');
INSERT INTO [Gone] ([Id], [Text]) VALUES (1, 'dropped with its table');
