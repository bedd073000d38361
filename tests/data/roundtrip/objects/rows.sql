INSERT INTO [Orders] ([Id], [Total]) VALUES (5, 12.5);
