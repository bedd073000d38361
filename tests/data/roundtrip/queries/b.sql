CREATE TABLE [Sale] ([Id] LONG, [Region] TEXT(20), [Amount] CURRENCY, [Day] DATETIME);
CREATE VIEW [AllSales] AS SELECT [Id], [Region], [Amount] FROM [Sale];
CREATE VIEW [ByRegion] AS SELECT [Region], Sum([Amount]) AS [Total] FROM [Sale] GROUP BY [Region];
CREATE PROCEDURE [SalesOf] ([pRegion] TEXT(20), [pFrom] DATETIME) AS SELECT * FROM [Sale] WHERE [Region] = [pRegion] AND [Day] >= [pFrom];
CREATE PROCEDURE [Purge] () AS DELETE FROM [Sale] WHERE [Day] < #1/1/2010#;
CREATE PROCEDURE [Raise] ([pFactor] DOUBLE) AS UPDATE [Sale] SET [Amount] = [Amount] * [pFactor];
