INSERT INTO [Entry] ([Id], [Amount]) VALUES (1, 7.25);
