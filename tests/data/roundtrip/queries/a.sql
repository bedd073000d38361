CREATE TABLE [Sale] ([Id] LONG, [Region] TEXT(20), [Amount] CURRENCY, [Day] DATETIME);
CREATE VIEW [AllSales] AS SELECT * FROM [Sale];
CREATE VIEW [BigSales] AS SELECT [Id], [Amount] FROM [Sale] WHERE [Amount] > 1000;
CREATE PROCEDURE [SalesOf] ([pRegion] TEXT(20)) AS SELECT * FROM [Sale] WHERE [Region] = [pRegion];
CREATE PROCEDURE [Purge] () AS DELETE FROM [Sale] WHERE [Day] < #1/1/2000#;
