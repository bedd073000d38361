-- The shop, version 2: products get categories, customers a country and a longer phone
-- number, the fax is gone, and orders can be looked up by date.

CREATE TABLE [Customers] (
	[CustomerId] AUTOINCREMENT,
	[Name] TEXT(100) NOT NULL,
	[Email] TEXT(100),
	[Phone] TEXT(30),
	[Country] TEXT(2) DEFAULT "DE",
	[Created] DATETIME DEFAULT Now(),
	CONSTRAINT [PK_Customers] PRIMARY KEY ([CustomerId])
);

CREATE TABLE [Categories] (
	[CategoryId] AUTOINCREMENT,
	[Title] TEXT(50) NOT NULL,
	CONSTRAINT [PK_Categories] PRIMARY KEY ([CategoryId]),
	CONSTRAINT [UQ_Categories_Title] UNIQUE ([Title])
);

CREATE TABLE [Products] (
	[ProductId] AUTOINCREMENT,
	[Name] TEXT(80) NOT NULL,
	[CategoryId] LONG,
	[Price] CURRENCY,
	[Discontinued] BIT,
	CONSTRAINT [PK_Products] PRIMARY KEY ([ProductId])
);

CREATE TABLE [Orders] (
	[OrderId] AUTOINCREMENT,
	[CustomerId] LONG NOT NULL,
	[OrderDate] DATETIME NOT NULL,
	[Notes] MEMO,
	CONSTRAINT [PK_Orders] PRIMARY KEY ([OrderId])
);

CREATE TABLE [OrderLines] (
	[OrderId] LONG NOT NULL,
	[ProductId] LONG NOT NULL,
	[Quantity] LONG,
	[UnitPrice] CURRENCY,
	CONSTRAINT [PK_OrderLines] PRIMARY KEY ([OrderId], [ProductId])
);

CREATE UNIQUE INDEX [IX_Customers_Email] ON [Customers] ([Email]) WITH IGNORE NULL;
CREATE INDEX [IX_Orders_Date] ON [Orders] ([OrderDate]);

ALTER TABLE [Orders]
	ADD CONSTRAINT [FK_Orders_Customers]
	FOREIGN KEY ([CustomerId]) REFERENCES [Customers] ([CustomerId]);

ALTER TABLE [OrderLines]
	ADD CONSTRAINT [FK_OrderLines_Orders]
	FOREIGN KEY ([OrderId]) REFERENCES [Orders] ([OrderId])
	ON DELETE CASCADE;

ALTER TABLE [OrderLines]
	ADD CONSTRAINT [FK_OrderLines_Products]
	FOREIGN KEY ([ProductId]) REFERENCES [Products] ([ProductId]);

ALTER TABLE [Products]
	ADD CONSTRAINT [FK_Products_Categories]
	FOREIGN KEY ([CategoryId]) REFERENCES [Categories] ([CategoryId]);

CREATE VIEW [ActiveProducts] AS
	SELECT [ProductId], [Name], [CategoryId], [Price] FROM [Products] WHERE [Discontinued] = False;

CREATE PROCEDURE [OrdersOfCustomer] ([pCustomer] LONG, [pSince] DATETIME) AS
	SELECT * FROM [Orders] WHERE [CustomerId] = [pCustomer] AND [OrderDate] >= [pSince];

CREATE PROCEDURE [DiscontinueProduct] ([pProduct] LONG) AS
	UPDATE [Products] SET [Discontinued] = True WHERE [ProductId] = [pProduct];
