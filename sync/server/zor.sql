-- Schema "zor": the company's ERP. A central server with this schema takes the workstations' orders
-- straight into the ERP; it is the schema that holds the table pedidos (a server is either an ERP
-- or a sales office's manager database, never both). Used together with the schema gestao.

CREATE SCHEMA zor;

-- Customers and other account holders of the ERP; id_corrent is handed out as the highest id + 1
-- by whoever creates the customer. Kept by the back office; the order upload creates the customers
-- made on a workstation (looked up first by CPF/CNPJ and suffix); read by the customer download.
CREATE TABLE zor.corrent (
    id_corrent integer NOT NULL,
    ativo smallint,
    pesso smallint,
    consfinal smallint,
    cgcpf varchar(18),
    inscr varchar(18),
    nome varchar(40),
    razao varchar(65),
    endereco varchar(50),
    cxpostal integer,
    compl varchar(25),
    bairr varchar(20),
    id_municipio integer,
    cep varchar(9),
    e_ender varchar(50),
    e_bairr varchar(20),
    id_municipio_entrega integer,
    e_cep varchar(9),
    c_ender varchar(50),
    c_bairr varchar(20),
    id_municipio_cobranca integer,
    c_cep varchar(9),
    e_mail varchar(80),
    grupo_eco varchar(30),
    dt_const date,
    no_reg varchar(10),
    dt_reg date,
    hor_descarga varchar(15),
    fat_anul double precision,
    cap_social double precision,
    cap_realiz double precision,
    cap_aberto smallint,
    con_ac_privado smallint,
    con_ac_nacional smallint,
    ramo_ativ varchar(50),
    cod_ativ_ir integer,
    no_empregados integer,
    importa smallint,
    p_importa integer,
    exporta smallint,
    p_exporta integer,
    princ_produ1 varchar(35),
    princ_produ2 varchar(35),
    princ_produ3 varchar(35),
    perc_vendas1 smallint,
    perc_vendas2 smallint,
    perc_vendas3 smallint,
    www varchar(40),
    banc1 integer,
    banc2 integer,
    banc3 integer,
    agen1 varchar(8),
    agen2 varchar(8),
    agen3 varchar(8),
    nagen1 varchar(30),
    nagen2 varchar(30),
    nagen3 varchar(30),
    ct_nu integer,
    ct_se integer,
    ci1 varchar(2),
    ci2 integer,
    orgex varchar(5),
    uf varchar(2),
    dtemi date,
    ddd varchar(4),
    telef varchar(35),
    fax varchar(8),
    data date,
    cod_vendedor integer,
    cod_vendedor2 integer,
    cod_vendedor3 integer,
    conta varchar(25),
    c_dm_nascto integer,
    c_fone varchar(20),
    con_f varchar(25),
    f_dm_nascto integer,
    f_fone varchar(20),
    c_ctb integer,
    c_ctb_consig integer,
    nasct date,
    sexo smallint,
    e_civ smallint,
    pai varchar(40),
    mae varchar(40),
    conju varchar(40),
    ocupa varchar(30),
    c_spc varchar(10),
    natur varchar(20),
    t_ser integer,
    l_tra varchar(40),
    t_end integer,
    inscr_pro varchar(15),
    classe varchar(1),
    limcred numeric(13,2),
    tolatr integer,
    cod_formapag integer,
    id_st smallint,
    inscr_suframa varchar(15),
    lei_livre varchar(15),
    dt_ult_verif date,
    codigo varchar(10),
    id_transportadora integer,
    aviso_protesto smallint,
    codigo_vend_prep integer,
    id_tipo integer,
    id_regiao integer,
    i_ban varchar(4000),
    i_com varchar(4000),
    obs varchar(4000),
    repr_nome varchar(40),
    repr_ddd varchar(4),
    repr_fone varchar(20),
    repr_fax varchar(8),
    cc1 varchar(12),
    fornecedor varchar(1),
    cliente varchar(1),
    id_ant_forne integer,
    suf_cgcpf varchar(3),
    num_endereco varchar(20),
    email_nfe varchar(80),
    alerta smallint,
    cod_pais integer,
    st_especifica varchar(20),
    cod_tes integer,
    regra_exclusiva varchar(30),
    indicador_ie smallint,
    cod_pauta integer,
    dt_atual date DEFAULT current_date,
    PRIMARY KEY (id_corrent),
    UNIQUE (cgcpf, suf_cgcpf)
);
CREATE INDEX corrent_razao ON zor.corrent (razao, id_corrent);
CREATE INDEX corrent_vendedor ON zor.corrent (cod_vendedor);
CREATE INDEX corrent_nome ON zor.corrent (nome, id_corrent);

-- Orders (tipo 'P') and their deliveries (tipo 'E', numer_ped_vinc is the order's number); numbers
-- are unique per company and kind. Written by the order upload (situa 91, inf_usuario 1), kept by
-- the back office; read back by the order-history download.
CREATE TABLE zor.pedidos (
    id_pedido serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    cod_vendedor integer,
    tipo varchar(1) NOT NULL,
    numero integer NOT NULL,
    situa smallint,
    data date,
    dtprevent date,
    data_emissao date,
    numer_ped_vinc integer,
    clien integer,
    e_ender varchar(50),
    e_num_endereco varchar(20),
    e_bairr varchar(20),
    e_munic varchar(30),
    e_estad varchar(2),
    id_mun_entrega integer,
    e_cep varchar(9),
    conta varchar(20),
    cod_formapag integer,
    totpr numeric(15,2),
    ipi numeric(15,2),
    fconta smallint,
    frete numeric(15,2),
    total numeric(15,2),
    descp numeric(11,2),
    descv numeric(15,2),
    com_fat numeric(13,2),
    com_rec numeric(13,2),
    obs varchar(255),
    prz_con integer,
    id_portador integer,
    num_ped_qav varchar(20),
    num_ped_vendedor varchar(20),
    cod_vend2 integer,
    tx_com_vend2 numeric(13,2),
    tp_pg_com_vend2 varchar(1),
    cod_pauta integer,
    id_tes integer,
    num_oc varchar(15),
    inf_usuario smallint,
    ped_flex smallint,
    obs_entrega varchar(2000),
    transp integer,
    id_local integer,
    dt_atual date DEFAULT current_date,
    UNIQUE (id_empresa, tipo, numero)
);
CREATE INDEX pedidos_vendedor ON zor.pedidos (id_empresa, cod_vendedor, tipo);
CREATE INDEX pedidos_vinculado ON zor.pedidos (id_empresa, numer_ped_vinc);

-- Order items, numbered 1, 2, 3... within the order (ordem). comis holds the item's commission
-- rate as the workstation computed it (possibly scaled by the commission bands). Written by the
-- order upload; read back by the order-history download.
CREATE TABLE zor.peditens (
    id_peditem serial PRIMARY KEY,
    id_pedido integer NOT NULL REFERENCES zor.pedidos (id_pedido) ON DELETE CASCADE,
    ordem integer NOT NULL,
    produ integer NOT NULL,
    qtd numeric(15,4),
    unidade varchar(6),
    und_estoque varchar(6),
    pruni numeric(15,4),
    preco_ipi numeric(15,4),
    descp numeric(9,2),
    descv numeric(15,2),
    num_oc varchar(15),
    item_oc integer,
    ipi numeric(15,2),
    total numeric(15,2),
    comis numeric(9,2),
    obs varchar(100),
    status smallint,
    id_st integer,
    qtd_pecas integer,
    comprimento integer,
    largura numeric(9,2),
    altura numeric(9,2),
    id_acabamento integer,
    id_vidro integer,
    id_vista integer,
    l1 integer,
    l2 integer,
    l3 integer,
    l4 integer,
    h1 integer,
    h2 integer,
    h3 integer,
    h4 integer,
    id_varprod integer,
    pr_pauta_liq numeric(13,4),
    vl_flex numeric(15,2),
    preco_pauta numeric(15,4),
    UNIQUE (id_pedido, ordem)
);

-- Accessories of an order item with their price. Written by the order upload.
CREATE TABLE zor.pedacessorio (
    id_pedacessorio serial PRIMARY KEY,
    id_peditem integer NOT NULL REFERENCES zor.peditens (id_peditem) ON DELETE CASCADE,
    id_acessorio integer NOT NULL,
    valor numeric(13,2)
);

-- Names of the order situations. Kept by the back office; read by the order-history download.
CREATE TABLE zor.sitpedido (
    id_sitpedido smallint PRIMARY KEY,
    descricao varchar(40) NOT NULL
);

-- Receivables of the customers (situacao 'A': open). Kept by the back office; read by the
-- receivables download.
CREATE TABLE zor.ctr (
    id_ctr serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    cod_vendedor integer,
    numero varchar(8) NOT NULL,
    docto varchar(10),
    deved integer,
    emiss date,
    vecto date,
    valor numeric(15,2),
    juros numeric(15,2),
    desp_cobranca numeric(15,2),
    data_baixa date,
    recbt numeric(15,2),
    desco numeric(15,2),
    saldo numeric(15,2),
    judia numeric(15,2),
    bcomis numeric(15,2),
    comis numeric(9,2),
    porta integer,
    id_tpcobr integer,
    situacao varchar(1)
);
CREATE INDEX ctr_vendedor ON zor.ctr (id_empresa, cod_vendedor, numero);

-- Financial rate of the company's price tables and whether a twelfth is added to commissions, by
-- date (tab_padrao: the standard table). Kept by the back office; read by the company refresh.
CREATE TABLE zor.tabdesp (
    id_tabdesp serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    data date NOT NULL,
    tab_padrao smallint NOT NULL DEFAULT 0,
    taxa_fin numeric(7,2),
    adic_comissao smallint
);

-- Weight per metre of the profiles made by the factory, by product reference. Kept by production;
-- read by the product download.
CREATE TABLE zor.pcpperfil (
    id_pcpperfil serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    codigo varchar(35) NOT NULL,
    descricao varchar(60),
    peso numeric(11,3)
);

-- Average net weight of a product as weighed, by date (id_produto is the product's id_erp). Kept
-- by production; read by the product download.
CREATE TABLE zor.pesomed (
    id_pesomed serial PRIMARY KEY,
    id_produto integer NOT NULL,
    data date NOT NULL,
    peso_liq numeric(11,3)
);

-- Delivery regions. Kept by the back office; read by the freight-cost download.
CREATE TABLE zor.regiao (
    id_regiao integer PRIMARY KEY,
    descricao varchar(60) NOT NULL
);

-- Freight cost by region and loading municipality, by date (the latest date counts). Kept by the
-- back office; read by the freight-cost download.
CREATE TABLE zor.fretexreg (
    id_fretexreg serial PRIMARY KEY,
    id_regiao integer NOT NULL,
    id_mun_carreg integer NOT NULL,
    data date NOT NULL,
    vl_custo_m3 numeric(15,6),
    vl_custo_kg numeric(15,6),
    tx_frete numeric(7,2),
    UNIQUE (id_regiao, id_mun_carreg, data)
);
