INSERT INTO [Stock] ([Id], [Name], [Qty], [Old], [Note], [Price]) VALUES (1, 'bolt', 100, 'x', 'steel', 3);
INSERT INTO [Stock] ([Id], [Name], [Qty], [Old], [Note], [Price]) VALUES (2, 'nut', 250, 'y', 'brass', 4);
