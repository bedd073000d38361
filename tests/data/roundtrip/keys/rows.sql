INSERT INTO [Parent] ([Id], [Code]) VALUES (1, 'P1');
INSERT INTO [Child] ([Id], [ParentId], [Qty]) VALUES (10, 1, 5);
INSERT INTO [Note] ([Id], [ParentId], [ChildId]) VALUES (100, 1, 10);
