-- A small shop: customers, products, orders and their lines.
-- Version 1, as the shop has been running it.

CREATE TABLE [Customers] (
	[CustomerId] AUTOINCREMENT,
	[Name] TEXT(100) NOT NULL,
	[Email] TEXT(100),
	[Phone] TEXT(20),
	[Fax] TEXT(20),
	[Created] DATETIME DEFAULT Now(),
	CONSTRAINT [PK_Customers] PRIMARY KEY ([CustomerId])
);

CREATE TABLE [Products] (
	[ProductId] AUTOINCREMENT,
	[Name] TEXT(80) NOT NULL,
	[Price] CURRENCY,
	[Discontinued] BIT,
	CONSTRAINT [PK_Products] PRIMARY KEY ([ProductId])
);

CREATE TABLE [Orders] (
	[OrderId] AUTOINCREMENT,
	[CustomerId] LONG NOT NULL,
	[OrderDate] DATETIME,
	[Notes] MEMO,
	CONSTRAINT [PK_Orders] PRIMARY KEY ([OrderId])
);

CREATE TABLE [OrderLines] (
	[OrderId] LONG NOT NULL,
	[ProductId] LONG NOT NULL,
	[Quantity] SMALLINT,
	CONSTRAINT [PK_OrderLines] PRIMARY KEY ([OrderId], [ProductId])
);

-- Faxed orders were typed in by hand; gone in the next version.
CREATE TABLE [FaxLog] (
	[FaxId] AUTOINCREMENT,
	[Received] DATETIME,
	[Sender] TEXT(50),
	CONSTRAINT [PK_FaxLog] PRIMARY KEY ([FaxId])
);

CREATE INDEX [IX_Customers_Name] ON [Customers] ([Name]);

ALTER TABLE [Orders]
	ADD CONSTRAINT [FK_Orders_Customers]
	FOREIGN KEY ([CustomerId]) REFERENCES [Customers] ([CustomerId]);

ALTER TABLE [OrderLines]
	ADD CONSTRAINT [FK_OrderLines_Orders]
	FOREIGN KEY ([OrderId]) REFERENCES [Orders] ([OrderId])
	ON DELETE CASCADE;

CREATE VIEW [ActiveProducts] AS
	SELECT [ProductId], [Name], [Price] FROM [Products] WHERE [Discontinued] = False;

CREATE PROCEDURE [OrdersOfCustomer] ([pCustomer] LONG) AS
	SELECT * FROM [Orders] WHERE [CustomerId] = [pCustomer];
