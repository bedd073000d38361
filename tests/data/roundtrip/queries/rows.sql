INSERT INTO [Sale] ([Id], [Region], [Amount]) VALUES (1, 'North', 1500);
