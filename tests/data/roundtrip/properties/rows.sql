INSERT INTO [Item] ([Id], [Name], [Price], [Ratio]) VALUES (1, 'lamp', 20, 0.25);
