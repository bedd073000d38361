INSERT INTO [Person] ([Id], [Last], [First], [Email]) VALUES (1, 'Doe', 'Jane', 'jane@example.org');
INSERT INTO [Person] ([Id], [Last], [First], [Email]) VALUES (2, 'Roe', 'Rick', 'rick@example.org');
