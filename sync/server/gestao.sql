-- Schema gestao: the company's shared administrative tables. It exists on every central server,
-- whether the orders go to the ERP (schema "zor") or to a sales office's manager database
-- (schema "gerente"). The workstation reads its company, salesperson, settings and reference data
-- here, reserves order numbers here and writes its log rows here.
--
-- Column types follow the workstation's record layouts: whole numbers are integer, small codes and
-- flags smallint, money and rates numeric with the workstation's precision, texts varchar with the
-- workstation's width (a longer text is refused by the server instead of cut silently). Ids that the
-- server hands out are serial columns, so the sequences have the names the workstation asks for
-- (currval, setval). Columns named dt_atual carry the date of the last change (a new row gets
-- today's); the partial communication brings only rows changed on or after the date of the previous
-- one.

CREATE SCHEMA gestao;

-- Companies. Kept by the back office; read by the communication (company refresh, products and
-- stock of the company, head office).
CREATE TABLE gestao.empresa (
    id_empresa integer NOT NULL,
    nome varchar(30),
    razao_social varchar(60),
    endereco varchar(60),
    numero integer,
    bairro varchar(30),
    id_municipio integer,
    estado varchar(2),
    cnpj varchar(18),
    inscr_estadual varchar(15),
    inscr_municipal varchar(15),
    fax varchar(20),
    email varchar(60),
    nome_contato varchar(60),
    dt_bloq_estoque date,
    taxa_juros numeric(7,2),
    fc_juros varchar(1),
    serie_nf varchar(3),
    numero_nf integer,
    arq_mod_nf varchar(199),
    serie_gta varchar(2),
    id_portador_padrao integer,
    integrado_siscon varchar(1),
    cep integer,
    tp_amb_nfe smallint,
    certificado_digital varchar(200),
    serie_nfe integer,
    numero_nfe integer,
    telefone numeric(11,0),
    complemento varchar(40),
    cod_pais_ibge integer,
    nome_pais varchar(40),
    cnae_fiscal integer,
    moddocfiscal varchar(2),
    tipo_certificado varchar(2),
    gs1_prefixo_empresa varchar(9),
    gs1_unidade_fabril smallint,
    gs1_sequencial_sscc integer,
    serie_nf2 varchar(3),
    numero_nf2 integer,
    id_matriz integer,
    cod_ccusto_estoque integer,
    contribuinte_ipi smallint,
    pasta_dados varchar(300),
    gera_sped_fiscal smallint,
    crt smallint,
    tp_imp_danfe smallint,
    PRIMARY KEY (id_empresa)
);

-- Tables one company takes from another (a branch using the head office's products, groups or
-- standard costs). Kept by the back office; read by the communication.
CREATE TABLE gestao.tabcomp (
    id_empresa integer NOT NULL,
    nome_tabcomp varchar(30) NOT NULL,
    id_empresa_tabcomp integer NOT NULL,
    PRIMARY KEY (id_empresa, nome_tabcomp)
);

-- Salespeople and representatives with their QAV+ password and permissions. Kept by the back
-- office; read when a workstation connects and validates its salesperson.
CREATE TABLE gestao.vendedor (
    id_vendedor serial,
    id_empresa integer,
    codigo integer,
    ativo smallint,
    tipo smallint,
    nome varchar(40),
    ender varchar(40),
    num_endereco varchar(20),
    bairro varchar(25),
    id_municipio integer,
    cep varchar(9),
    ie varchar(20),
    cnpj_cpf varchar(18),
    contato varchar(20),
    fone varchar(30),
    fax varchar(15),
    celular varchar(15),
    e_mail varchar(40),
    origem_com smallint,
    taxa_com numeric(11,2),
    taxa_com2 numeric(11,2),
    forma_pag varchar(1),
    exp_qav smallint,
    pontos_instalacao_qav smallint,
    senha varchar(6),
    data date,
    cod_supervisor integer,
    taxa_com_super numeric(7,2),
    forma_pag_super varchar(1),
    cod_grupo1 integer,
    cod_grupo2 integer,
    cod_grupo3 integer,
    cod_pauta1 integer,
    cod_pauta2 integer,
    cod_pauta3 integer,
    desconto_max numeric(7,2),
    com_ven numeric(13,2),
    com_rec numeric(13,2),
    bc_comissao varchar(20),
    permitir_flex smallint,
    desc_pauta_flex numeric(7,2),
    cod_pauta4 integer,
    cod_pauta5 integer,
    cod_pauta6 integer,
    desc_rateio_com numeric(7,2),
    qav_todos_clientes smallint,
    permitir_analise_lucro smallint,
    vl_ped_minimo numeric(13,2),
    PRIMARY KEY (id_vendedor),
    UNIQUE (codigo, id_empresa)
);
CREATE INDEX vendedor_nome ON gestao.vendedor (nome);

-- The workstation settings of each company (tax operations, price lists, locks) and the last order
-- number handed out to the workstations. Kept by the back office; read by every communication; the
-- order upload locks the row, takes the next number and writes it back.
CREATE TABLE gestao.qavcfg (
    id_empresa integer NOT NULL,
    id_tes_dentro integer,
    id_tes_dentro_cf integer,
    id_tes_dentro_rv integer,
    id_tes_dentro_cf_rv integer,
    id_tes_fora integer,
    id_tes_fora_cf integer,
    id_tes_fora_rv integer,
    id_tes_fora_cf_rv integer,
    preco_com_ipi smallint,
    dias_bloqueio integer,
    cod_pauta1 integer,
    cod_pauta2 integer,
    cod_pauta3 integer,
    ativar_prod_pauta smallint,
    preco_padrao smallint,
    bloq_preco_pedido smallint,
    origem_descmax varchar(1),
    ativa_rel_com smallint,
    tp_estoque varchar(1),
    bloq_relatorios varchar(1),
    bloq_volumes varchar(1),
    bloq_frete smallint,
    numped_gestao integer,
    PRIMARY KEY (id_empresa)
);

-- Further workstation settings as key/value rows per company (released program version, lock
-- days, communication policy, order printout models). Kept by the back office; read by every
-- communication.
CREATE TABLE gestao.qavconfig (
    id_empresa integer NOT NULL,
    chave varchar(60) NOT NULL,
    nome varchar(60) NOT NULL,
    valor varchar(255),
    PRIMARY KEY (id_empresa, chave, nome)
);

-- Log of what the workstations did on the server (start and end of each communication, orders and
-- customers sent, orders imported). Written by the workstations, read by the back office.
CREATE TABLE gestao.log (
    id_log serial PRIMARY KEY,
    data_hora timestamp NOT NULL DEFAULT now(),
    nome_cpd varchar(30),
    nome_usuario varchar(30),
    operacao varchar(10),
    tabela varchar(30),
    id integer,
    descricao text,
    id_empresa integer
);

-- Flex balance of each salesperson (id_vendedor is gestao.vendedor.id_vendedor). Kept by the back
-- office; read at the end of a communication and into the log of each order sent.
CREATE TABLE gestao.flex (
    id_empresa integer NOT NULL,
    id_vendedor integer NOT NULL,
    saldo_flex numeric(15,2) NOT NULL DEFAULT 0,
    PRIMARY KEY (id_empresa, id_vendedor)
);

-- Order types a salesperson may use (cod_vendedor null: every salesperson of the company), with the
-- tax operations they imply. Kept by the back office; read by the communication.
CREATE TABLE gestao.qavtipoped (
    id_qavtipoped serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    cod_vendedor integer,
    descricao varchar(30),
    ativo smallint,
    cod_tes integer,
    cod_tes_nc integer,
    id_estlocal integer
);

-- Tax operations. Kept by the back office; the order upload to the ERP looks up the operation of
-- each order here.
CREATE TABLE gestao.tes (
    id_tes serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    codigo integer NOT NULL,
    descricao varchar(60),
    usar_st_exclusiva smallint,
    UNIQUE (codigo, id_empresa)
);

-- Tax situations of the products, with the IPI, PIS and COFINS rates. Kept by the back office;
-- read by the product download and by both order uploads.
CREATE TABLE gestao.st (
    id_st serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    codigo integer NOT NULL,
    descricao varchar(60),
    aliq_ipi numeric(7,2),
    aliq_pis numeric(7,2),
    aliq_cofins numeric(7,2),
    desc_ipi_bc smallint,
    UNIQUE (codigo, id_empresa)
);

-- Tax situation that replaces a product's own under an operation with its own substitution rules.
-- Kept by the back office; read by the order upload to the ERP.
CREATE TABLE gestao.stxtes (
    id_empresa integer NOT NULL,
    cod_tes integer NOT NULL,
    cod_st integer NOT NULL,
    cod_st_exclusivo integer,
    PRIMARY KEY (id_empresa, cod_tes, cod_st)
);

-- Tax situation by product tax group and operation. Kept by the back office; read by the order
-- upload to the manager database.
CREATE TABLE gestao.grupost (
    id_empresa integer NOT NULL,
    grupo_st varchar(30) NOT NULL,
    id_tes integer NOT NULL,
    id_st integer NOT NULL,
    PRIMARY KEY (id_empresa, grupo_st, id_tes)
);

-- ICMS tax substitution by tax situation, state, specific situation and kind of customer (the
-- company comes with the tax situation). Kept by the back office; read by the communication.
CREATE TABLE gestao.sticms (
    id_sticms serial PRIMARY KEY,
    id_st integer NOT NULL,
    uf varchar(2) NOT NULL,
    st_especifica varchar(20) NOT NULL DEFAULT '',
    contribuinte_icms smallint NOT NULL DEFAULT 0,
    perc_bc_icms numeric(7,2),
    aliq_icms numeric(7,2),
    modal_bc_icmsst varchar(1),
    aliq_icmsst numeric(7,2),
    somar_icmsst_nf smallint,
    perc_marg_vl_icmsst numeric(7,2),
    perc_red_bc_icmsst numeric(7,2),
    dt_atual date DEFAULT current_date,
    UNIQUE (id_st, uf, st_especifica, contribuinte_icms)
);

-- Municipalities. Kept by the back office (on a manager database by the hub workstation, under its
-- own ids); read by the communication.
CREATE TABLE gestao.municipio (
    id_municipio serial,
    codigo_ibge integer,
    codigo_estadual integer,
    nome varchar(60),
    estado varchar(2),
    id_regiao integer,
    cst_frete_m3 numeric(13,2),
    populacao integer,
    codigo_federal integer,
    dt_atual date DEFAULT current_date,
    codigo_municipal integer,
    PRIMARY KEY (id_municipio),
    UNIQUE (codigo_ibge)
);
CREATE INDEX municipio_nome ON gestao.municipio (nome);

-- Payment forms. Kept by the back office (on a manager database by the hub workstation); the
-- communication reads those marked integrar_qav.
CREATE TABLE gestao.formapag (
    id_formapag serial,
    id_empresa integer,
    codigo integer,
    descr varchar(30),
    desco numeric(7,2),
    acresc numeric(7,2),
    numparc smallint,
    frete smallint,
    ipi smallint,
    arred numeric(7,2),
    cobr_ban smallint,
    integrar_qav smallint,
    lancar_fila_cf smallint,
    ativa smallint,
    id_carteira integer,
    id_portador integer,
    forma_pagto_normal smallint,
    tipo_correntista integer,
    ind_formapag smallint,
    icms_ant smallint,
    dias_icms_ant smallint,
    prazo_medio numeric(7,2),
    libera_credito smallint,
    lib_credito_usuario varchar(12),
    dt_atual date DEFAULT current_date,
    PRIMARY KEY (id_formapag),
    UNIQUE (codigo, id_empresa)
);

-- Instalments of a payment form: days and share of the total in percent. Kept by the back office;
-- the payment-form download computes the average term from them.
CREATE TABLE gestao.prazopag (
    id_prazopag serial PRIMARY KEY,
    id_formapag integer NOT NULL,
    parcela smallint NOT NULL,
    prazo integer NOT NULL,
    porpag numeric(7,2) NOT NULL,
    UNIQUE (id_formapag, parcela)
);

-- Product groups and subgroups (one table, told apart by code). Only groups and subgroups marked
-- int_qav reach the workstations; a subgroup of variations (produto_variacao) sends only its
-- linked products. Kept by the back office; read by the product, stock and accessory downloads.
CREATE TABLE gestao.grupo (
    id_grupo serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    codigo integer NOT NULL,
    nome varchar(40),
    int_qav smallint NOT NULL DEFAULT 0,
    produto_variacao smallint NOT NULL DEFAULT 0,
    desc_padrao numeric(7,2),
    desc_max numeric(7,2),
    da date DEFAULT current_date, -- date of the last change
    UNIQUE (codigo, id_empresa)
);

-- Products, the full record; id_erp is the product's id in the ERP and on the workstations. Kept
-- by the back office (on a manager database by the hub workstation); read by the product, stock,
-- cost and order-history downloads and by the order upload (linked products, dimensions).
CREATE TABLE gestao.produto (
    id_produto serial,
    id_empresa integer,
    codigo varchar(14),
    descricao varchar(75),
    referencia varchar(35),
    cod_barra varchar(14),
    cod_anterior varchar(14),
    unidade varchar(6),
    tipo varchar(2),
    cod_ncm integer,
    ex_ipi varchar(3),
    cod_genero varchar(2),
    cod_class_servico varchar(5),
    aliq_icms numeric(7,2),
    id_ctbconta integer,
    utilizacao varchar(255),
    cod_grupo integer,
    cod_subgrupo integer,
    cod_st integer,
    data_cadastro date,
    ativo smallint,
    vl_preco1 numeric(13,3),
    bc_icmsst_cobrant numeric(13,2),
    vl_icmsst_cobrant numeric(13,4),
    data_icmsst_cobrant date,
    docto_icmsst_cobrant integer,
    idxfti varchar(20),
    aliq_ipi numeric(7,2),
    red_bc_icms numeric(7,2),
    bc_icms_st numeric(15,2),
    cod_classificacao integer,
    id_ctbconta_ept integer,
    id_ctbconta_dtp integer,
    id_ctbconta_desp integer,
    vol_m3 numeric(11,5),
    id_prodvinc integer,
    cod_marca integer,
    descr_det varchar(150),
    data_reajuste date,
    lista_pauta smallint,
    preco_promocional smallint,
    vl_preco2 numeric(13,3),
    vl_preco3 numeric(13,3),
    peso_liquido numeric(13,3),
    peso_bruto numeric(13,3),
    qtd_volume numeric(13,3),
    cod_estlocal integer,
    dt_atual date DEFAULT current_date,
    taxa_comissao numeric(7,2),
    id_erp integer,
    cod_acess1 integer,
    cod_acess2 integer,
    cod_acess3 integer,
    classe_abc varchar(1),
    subcategoria integer,
    cod_secao integer,
    taxa_margem1 numeric(7,2),
    dt1_promocao date,
    dt2_promocao date,
    pr_sugerido numeric(13,2),
    vendido_peso smallint,
    exportar_balanca smallint,
    validade_dias integer,
    usuario_atual varchar(20),
    estoque_minimo numeric(15,3),
    data date,
    hora time,
    qtd_und_compra numeric(13,2),
    custo_rep numeric(13,4),
    origem smallint,
    cod_base_cred_pis_cofins varchar(2),
    produto_grade smallint,
    id_gradev integer,
    id_gradeh integer,
    id_produto_grade integer,
    id_gradedetv integer,
    id_gradedeth integer,
    controlar_estoque smallint,
    cod_estrutura varchar(14),
    cst_pis varchar(2),
    aliq_pis numeric(7,2),
    aliq_vl_pis numeric(15,4),
    cst_cofins varchar(2),
    aliq_cofins numeric(7,2),
    aliq_vl_cofins numeric(15,4),
    largura integer,
    altura integer,
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
    comprimento numeric(13,2),
    peso_metro numeric(13,3),
    nat_receita varchar(3),
    cfop_ecf integer,
    certsanit_obs integer,
    prod_lei12546 smallint,
    cod_ativ_lei12546 varchar(8),
    obs_preco varchar(200),
    enviar_web smallint,
    liga varchar(10),
    tempera varchar(10),
    dimensoes varchar(40),
    site_produto varchar(100),
    anotacao_produto varchar(1000),
    cod_contrib varchar(2),
    nao_custo_entrada smallint,
    familia varchar(30),
    id_erp_estoque integer,
    tx_perda_proc numeric(7,2),
    vl_parc_imp numeric(15,2),
    num_fci varchar(36),
    tx_cont_imp numeric(7,2),
    vl_imp numeric(15,2),
    permite_acessorios varchar(1),
    lote_min numeric(15,3),
    lote_mul numeric(15,3),
    cod_uen integer,
    descr_nf varchar(120),
    aplicacao smallint,
    ind_est numeric(13,3),
    cod_original varchar(14),
    qtd_embalagem numeric(15,4),
    grupo_st varchar(30),
    cest integer,
    cod_prod_anp integer,
    taxa_margem2 numeric(9,5),
    taxa_margem3 numeric(9,5),
    preco_pratic_sug smallint,
    temp_armaz numeric(13,4),
    est_pedido numeric(11,2),
    est_maximo numeric(11,2),
    complemento varchar(40),
    local_estoque varchar(20),
    preco_dif_grade smallint,
    req_insumos_estrutura smallint,
    versao_estrutura varchar(10),
    peso_embal numeric(13,3),
    markup_despfixas1 numeric(7,2),
    markup_impostos1 numeric(7,2),
    markup_comissao1 numeric(7,2),
    markup_lucro1 numeric(7,2),
    markup_desconto1 numeric(7,2),
    markup_financ1 numeric(7,2),
    markup_frete1 numeric(7,2),
    desc_adic numeric(7,2),
    cnpj_produtor varchar(14),
    codigo_selo varchar(7),
    qtd_selo_und integer,
    qtd_trib_ipi_und numeric(17,4),
    produto_especifico varchar(1),
    vl_unid_trib_ipi numeric(15,4),
    qtd_trib_pis_und numeric(17,4),
    vl_unid_trib_pis numeric(15,4),
    qtd_trib_pisst_und numeric(17,4),
    vl_unid_trib_pisst numeric(15,4),
    qtd_trib_cofins_und numeric(17,4),
    vl_unid_trib_cofins numeric(15,4),
    qtd_trib_cofinsst_und numeric(17,4),
    vl_unid_trib_cofinsst numeric(15,4),
    preco_max_cons numeric(13,2),
    markup_marketing numeric(7,2),
    cod_ccusto integer,
    id_natureza integer,
    lote_mul_venda numeric(11,3),
    permitir_dif_lote smallint,
    tx_desc_lote numeric(7,2),
    PRIMARY KEY (id_produto),
    UNIQUE (codigo, id_empresa),
    UNIQUE (id_erp, id_empresa)
);
CREATE INDEX produto_descricao ON gestao.produto (descricao);

-- Product characteristics shown on the workstation. Kept by the back office; read by the product
-- download.
CREATE TABLE gestao.produto1 (
    id_produto integer PRIMARY KEY,
    carac1 varchar(30),
    carac2 varchar(30),
    carac3 varchar(30),
    carac4 varchar(30),
    carac5 varchar(30)
);

-- Units of measure. Kept by the back office; the hub workstation adds the units of the products it
-- sends to the manager database.
CREATE TABLE gestao.unidade (
    id_unidade serial,
    id_empresa integer,
    unidade varchar(6),
    descricao varchar(60),
    ativa smallint,
    PRIMARY KEY (id_unidade),
    UNIQUE (unidade, id_empresa)
);

-- Price lists. Their codes are unique on the server. Kept by the back office (on a manager
-- database by the hub workstation); read by the price-list download.
CREATE TABLE gestao.pauta (
    id_pauta serial,
    id_empresa integer,
    codigo integer,
    num_pauta varchar(20),
    dt_cadast date,
    descricao varchar(50),
    obs varchar(60),
    ativo smallint,
    perc_acresc1 numeric(11,2),
    perc_acresc2 numeric(11,2),
    perc_acresc3 numeric(11,2),
    perc_acresc4 numeric(11,2),
    perc_comiss1 numeric(11,2),
    perc_comiss2 numeric(11,2),
    perc_comiss3 numeric(11,2),
    perc_comiss4 numeric(11,2),
    bloquear_preco smallint,
    dt_ini date,
    dt_fim date,
    taxa_perda_perfil numeric(5,2),
    taxa_comissao numeric(5,2),
    taxa_margem numeric(7,4),
    taxa_icms numeric(7,4),
    taxa_frete numeric(7,4),
    prazo_medio integer,
    referencia varchar(20),
    dt_atual date,
    bc_comissao varchar(20),
    pauta_exclusiva_cliente smallint,
    bloq_descontos smallint,
    vl_pedido1 numeric(15,2),
    vl_pedido2 numeric(15,2),
    vl_pedido3 numeric(15,2),
    vl_pedido4 numeric(15,2),
    vl_pedido5 numeric(15,2),
    tx_desconto1 numeric(7,2),
    tx_desconto2 numeric(7,2),
    tx_desconto3 numeric(7,2),
    tx_desconto4 numeric(7,2),
    tx_desconto5 numeric(7,2),
    PRIMARY KEY (id_pauta),
    UNIQUE (codigo),
    UNIQUE (num_pauta)
);
ALTER TABLE gestao.pauta ALTER COLUMN dt_atual SET DEFAULT current_date;

-- Prices of the products in each price list (id_prod is the product's id_erp). tp_pauta 1 marks a
-- promotional price; divisor, tx_comissao and tx_icms give the commission of the item. Kept by the
-- back office (on a manager database by the hub workstation).
CREATE TABLE gestao.pauxpro (
    id_pauxpro serial,
    id_pauta integer,
    id_prod integer,
    preco1 numeric(13,4),
    preco2 numeric(13,4),
    preco3 numeric(13,4),
    cst_rep numeric(13,4),
    margem1 numeric(11,4),
    margem2 numeric(11,4),
    id_acabamento integer,
    id_vidro integer,
    largura numeric(9,2),
    altura numeric(9,2),
    id_varprod integer,
    valor1 numeric(13,2),
    valor_pauta_icms_st numeric(13,2),
    taxa_margem1 numeric(9,5),
    taxa_margem2 numeric(9,5),
    taxa_margem3 numeric(9,5),
    markup_despfixas1 numeric(7,2),
    markup_impostos1 numeric(7,2),
    markup_comissao1 numeric(7,2),
    markup_lucro1 numeric(7,2),
    markup_desconto1 numeric(7,2),
    markup_financ1 numeric(7,2),
    markup_frete1 numeric(7,2),
    preco_pratic_sug smallint,
    dt_atual date,
    bc_comissao varchar(20),
    markup_marketing numeric(7,2),
    tp_pauta smallint NOT NULL DEFAULT 0,
    divisor numeric(13,6) NOT NULL DEFAULT 0,
    tx_comissao numeric(7,2) NOT NULL DEFAULT 0,
    tx_icms numeric(7,2) NOT NULL DEFAULT 0,
    PRIMARY KEY (id_pauxpro)
);
ALTER TABLE gestao.pauxpro ALTER COLUMN dt_atual SET DEFAULT current_date;
CREATE INDEX pauxpro_pauta ON gestao.pauxpro (id_pauta);
CREATE INDEX pauxpro_produto ON gestao.pauxpro (id_prod, id_pauta);

-- The prices as the workstations read them: the product under the name id_produto. Read by the
-- price-list product download.
CREATE VIEW gestao.vpauxpro AS
    SELECT id_pauxpro, id_pauta, id_prod AS id_produto, preco1, preco2, preco3, bc_comissao, id_varprod,
           tp_pauta, valor_pauta_icms_st, divisor, tx_comissao, tx_icms, dt_atual
      FROM gestao.pauxpro;

-- Commission bands: the share of the item's commission paid when its net price lies between two
-- percentages of the list price, by commission group. Kept by the back office; the order upload
-- to the ERP writes each item's commission as a look-up in this table.
CREATE TABLE gestao.bccomissao (
    id_empresa integer NOT NULL,
    grupo varchar(20) NOT NULL,
    faixa integer NOT NULL,
    tx_var_preco1 numeric(9,2) NOT NULL,
    tx_var_preco2 numeric(9,2) NOT NULL,
    tx_bc_comissao numeric(7,2) NOT NULL,
    PRIMARY KEY (id_empresa, grupo, faixa)
);

-- Customer partners (id_cliente is the customer's id in zor.corrent or gerente.clientes). Kept by
-- the back office; the customer upload adds the partners of the customers created on a
-- workstation; read by the partner download.
CREATE TABLE gestao.socios (
    id_socio serial,
    id_cliente integer,
    nome varchar(40),
    cpf varchar(20),
    naciona varchar(20),
    ma_entrada date,
    vl_quotas numeric(15,2),
    funcao varchar(20),
    PRIMARY KEY (id_socio)
);
CREATE INDEX socios_cliente ON gestao.socios (id_cliente, id_socio);

-- Stock balance by product and stock place. Kept by the back office; read by the stock download.
CREATE TABLE gestao.estsaldo (
    id_empresa integer NOT NULL,
    id_estlocal integer NOT NULL,
    id_produto integer NOT NULL,
    qtdade numeric(15,3) NOT NULL DEFAULT 0,
    qtd_empenhada numeric(15,3) NOT NULL DEFAULT 0,
    qtd_pedidos numeric(15,3) NOT NULL DEFAULT 0,
    data date DEFAULT current_date,
    PRIMARY KEY (id_empresa, id_estlocal, id_produto)
);

-- Stock movements. Written by the order upload to a manager database for orders delivered on the
-- spot (one exit per item); read by the back office. The batch's expiry (validade) and the document
-- number are kept as texts: the workstation sends them blank.
CREATE TABLE gestao.estmovto (
    id_estmovto serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    id_estlocal integer,
    id_produto integer NOT NULL,
    variante varchar(30),
    validade varchar(10),
    docto_natureza varchar(1),
    docto_tipo varchar(3),
    docto_serie varchar(3),
    docto_numero varchar(20),
    data date,
    historico varchar(60),
    tipo varchar(1),
    qtdade numeric(15,3),
    valor numeric(15,4),
    vl_ajuste numeric(15,4),
    operador varchar(20),
    status smallint,
    origem_prefixo varchar(2),
    origem_id integer,
    origem_ordem integer,
    origem_seq integer
);

-- Standard cost of the products by date. Kept by the back office; read by the product-cost
-- download of salespeople allowed to analyse their profit.
CREATE TABLE gestao.cstpadrao (
    id_empresa integer NOT NULL,
    id_produto integer NOT NULL,
    data date NOT NULL,
    valor numeric(15,4) NOT NULL,
    PRIMARY KEY (id_empresa, id_produto, data)
);

-- Invoices, with the delivery or order they invoice. Kept by the back office; read by the
-- order-history download.
CREATE TABLE gestao.nf (
    id_nf serial PRIMARY KEY,
    id_empresa integer NOT NULL,
    numero integer NOT NULL,
    serie varchar(3),
    data_emissao date,
    chave_acesso_nfe varchar(44),
    num_entrega integer,
    num_pedido integer
);
CREATE INDEX nf_entrega ON gestao.nf (id_empresa, num_entrega);
CREATE INDEX nf_pedido ON gestao.nf (id_empresa, num_pedido);
