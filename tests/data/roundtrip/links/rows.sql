INSERT INTO [Local] ([Id]) VALUES (7);
