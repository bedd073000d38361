INSERT INTO [Member] ([Id], [Email], [Phone], [Nick]) VALUES (1, NULL, '555', 'ann');
