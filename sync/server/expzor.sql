-- Schema expzor: the ERP's product groups and products as exported to a sales office's manager
-- database. The hub workstation copies the products it sells from here into gestao.produto. Same
-- columns as the tables of gestao; the rows keep the ERP's ids. Used together with gerente.

CREATE SCHEMA expzor;

-- Product groups and subgroups of the ERP. Read by the hub workstation.
CREATE TABLE expzor.grupo (LIKE gestao.grupo INCLUDING INDEXES);

-- Products of the ERP, the full record. Read by the hub workstation.
CREATE TABLE expzor.produto (LIKE gestao.produto INCLUDING INDEXES);
