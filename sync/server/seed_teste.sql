-- Test data of the shared schema gestao, the same for an ERP server and a manager database (load
-- seed_teste_zor.sql or seed_teste_gerente.sql after it). Small and consistent, with values the
-- tests assert on. Some names carry quotes, backslashes and accented letters on purpose: they must
-- travel between server and workstation unchanged.
--
-- Companies: 1 is the head office; 2 is its branch in Curitiba, which takes products, groups,
-- standard costs and tax groups from 1 and whose salespeople are registered under 1; 3 is an
-- unrelated company whose order numbering is not set up yet.
-- Salespeople of company 1: code 5 (id 10) may use QAV+ (password abc123), code 6 (id 11) is
-- inactive, code 7 (id 12) is not authorised. Company 3 has its own code 5 (id 13).
-- Municipalities: 1 Florianópolis, 2 Joinville, 3 São Paulo, 4 Curitiba, 5 Herval d'Oeste (the only
-- one changed after 2026-11-01).

INSERT INTO gestao.municipio (id_municipio, codigo_ibge, codigo_estadual, nome, estado, id_regiao, cst_frete_m3,
                              populacao, codigo_federal, dt_atual, codigo_municipal) VALUES
    (1, 4205407, 8105, 'Florianópolis', 'SC', 1, 45.00, 537211, 8105, '2025-06-01', 1),
    (2, 4209102, 8179, 'Joinville', 'SC', 1, 38.50, 616323, 8179, '2025-06-01', 2),
    (3, 3550308, 7107, 'São Paulo', 'SP', 3, 95.00, 11451999, 7107, '2025-06-01', 3),
    (4, 4106902, 7535, 'Curitiba', 'PR', 2, 52.00, 1773718, 7535, '2025-06-01', 4),
    (5, 4206702, 8139, 'Herval d''Oeste', 'SC', 1, 61.25, 22349, 8139, '2026-11-20', 5);

INSERT INTO gestao.empresa (id_empresa, nome, razao_social, endereco, numero, bairro, id_municipio, estado, cnpj,
                            inscr_estadual, email, telefone, cep, complemento, id_portador_padrao, id_matriz) VALUES
    (1, 'PRAXEDES', 'Metalúrgica Praxedes Ltda', 'Rua das Indústrias', 1200, 'Distrito Industrial', 2, 'SC',
     '12.345.678/0001-95', '254.123.456', 'vendas@praxedes.ind.br', 4733334444, 89219000, 'Galpão 3', 3, 1),
    (2, 'PRAXEDES PR', 'Metalúrgica Praxedes Ltda - Filial Curitiba', 'Av. Comendador Franco', 88, 'Uberaba', 4,
     'PR', '12.345.678/0002-76', '90.123.456-01', 'curitiba@praxedes.ind.br', 4132325555, 81520000, NULL, 3, 1),
    (3, 'VALE', 'Comércio Vale d''Itajaí Ltda', 'Rua XV de Novembro', 45, 'Centro', 1, 'SC',
     '98.765.432/0001-10', '255.987.654', NULL, 4830301010, 88010000, NULL, NULL, 3);

INSERT INTO gestao.tabcomp (id_empresa, nome_tabcomp, id_empresa_tabcomp) VALUES
    (2, 'produtos', 1),
    (2, 'grupos', 1),
    (2, 'cstpadrao', 1),
    (2, 'grupost', 1);

INSERT INTO gestao.vendedor (id_vendedor, id_empresa, codigo, ativo, tipo, nome, ender, num_endereco, bairro,
                             id_municipio, cep, cnpj_cpf, fone, e_mail, origem_com, taxa_com, taxa_com2,
                             forma_pag, exp_qav, pontos_instalacao_qav, senha, data, cod_supervisor,
                             taxa_com_super, forma_pag_super, cod_grupo1, cod_pauta1, cod_pauta2, cod_pauta3,
                             desconto_max, com_ven, com_rec, bc_comissao, permitir_flex, desc_pauta_flex,
                             cod_pauta4, desc_rateio_com, qav_todos_clientes, permitir_analise_lucro,
                             vl_ped_minimo) VALUES
    (10, 1, 5, 1, 1, 'José Conceição d''Ávila', 'Rua Lauro Müller', '77', 'Centro', 1, '88010-400',
     '529.982.247-25', '(48)3222-1010', 'jose@repres.com.br', 0, 3.00, 0.00, 'F', 1, 2, 'abc123', '2020-03-01',
     NULL, NULL, NULL, 1, 1, 2, NULL, 10.00, 3.00, 0.00, 'PADRAO', 1, 2.00, 3, 0.00, 0, 1, 150.00),
    (11, 1, 6, 0, 1, 'Maria Inativa', NULL, NULL, NULL, 2, NULL, NULL, NULL, NULL, 0, 2.50, 0.00, 'R', 1, 1,
     'xyz789', '2018-01-15', NULL, NULL, NULL, NULL, 1, NULL, NULL, 5.00, 0.00, 2.50, NULL, 0, 0.00, NULL, 0.00, 0,
     0, 0.00),
    (12, 1, 7, 1, 1, 'Pedro Sem Autorização', NULL, NULL, NULL, 4, NULL, NULL, NULL, NULL, 0, 2.00, 0.00, 'F', 0, 1,
     'qwe456', '2019-07-01', NULL, NULL, NULL, NULL, 1, NULL, NULL, 5.00, 2.00, 0.00, NULL, 0, 0.00, NULL, 0.00, 0,
     0, 0.00),
    (13, 3, 5, 1, 1, 'Ana Vale', NULL, NULL, NULL, 1, NULL, NULL, NULL, NULL, 0, 4.00, 0.00, 'F', 1, 1, 'def321',
     '2021-02-01', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0.00, 4.00, 0.00, NULL, 1, 0.00, NULL, 0.00, 1, 0,
     0.00);

-- Flex balances: José has credit, Ana has a debt.
INSERT INTO gestao.flex (id_empresa, id_vendedor, saldo_flex) VALUES
    (1, 10, 1250.75),
    (3, 13, -80.00);

-- Settings: company 1 numbers from 100 (orders 101, 102 and 104 already exist on the server, so
-- the next one is 103); company 3 has no numbering yet.
INSERT INTO gestao.qavcfg (id_empresa, id_tes_dentro, id_tes_dentro_cf, id_tes_dentro_rv, id_tes_dentro_cf_rv,
                           id_tes_fora, id_tes_fora_cf, id_tes_fora_rv, id_tes_fora_cf_rv, preco_com_ipi,
                           dias_bloqueio, cod_pauta1, cod_pauta2, cod_pauta3, ativar_prod_pauta, preco_padrao,
                           bloq_preco_pedido, origem_descmax, ativa_rel_com, tp_estoque, bloq_relatorios,
                           bloq_volumes, bloq_frete, numped_gestao) VALUES
    (1, 1, 2, 3, 4, 5, 6, 7, 8, 0, 30, 1, 2, 0, 0, 0, 5, 'A', 1, 'P', 'N', 'S', 0, 100),
    (2, 1, 2, 3, 4, 5, 6, 7, 8, 1, 0, 2, 0, 0, 1, 2, 0, 'R', 0, 'E', 'N', 'N', 1, 500),
    (3, 1, 2, 3, 4, 5, 6, 7, 8, 0, 10, 0, 0, 0, 0, 0, 0, 'T', 0, 'Z', 'N', 'N', 0, 0);

-- Key/value settings of company 1: released build 186, only a full communication lifts the lock,
-- printout models 1 and 3 (so the model set is 1 + 4 = 5), 15 lock days instead of the 30 of its
-- settings row. The row under another key must be ignored. Company 2 demands build 187; company 3
-- has none.
INSERT INTO gestao.qavconfig (id_empresa, chave, nome, valor) VALUES
    (1, 'Configuração', 'Versão QAV Liberada', '186'),
    (1, 'Configuração', 'Tipo Comunicação', 'C'),
    (1, 'Configuração', 'Modelo Pedido.1', '1'),
    (1, 'Configuração', 'Modelo Pedido.2', '0'),
    (1, 'Configuração', 'Modelo Pedido.3', '1'),
    (1, 'Configuração', 'Modelo Pedido.4', '0'),
    (1, 'Configuração', 'Dias Bloqueio Comunicação', '15'),
    (1, 'Configuração', 'Dias Bloqueio Crédito', '5'),
    (1, 'Outras', 'Dias Bloqueio Comunicação', '99'),
    (2, 'Configuração', 'Versão QAV Liberada', '187'),
    (2, 'Configuração', 'Tipo Comunicação', 'P');

-- Tax operations and tax situations of company 1. Operation 5910 (bonus) has its own substitution
-- rules: under it, situation 60 becomes 10.
INSERT INTO gestao.tes (id_tes, id_empresa, codigo, descricao, usar_st_exclusiva) VALUES
    (1, 1, 5101, 'Venda de produção no estado', 0),
    (2, 1, 5102, 'Venda a consumidor final no estado', 0),
    (3, 1, 5401, 'Venda com ST no estado', 0),
    (4, 1, 5405, 'Venda com ST a consumidor final', 0),
    (5, 1, 6101, 'Venda de produção fora do estado', 0),
    (6, 1, 6108, 'Venda a não contribuinte fora do estado', 0),
    (7, 1, 6401, 'Venda com ST fora do estado', 0),
    (8, 1, 6404, 'Venda com ST a consumidor final fora do estado', 0),
    (9, 1, 5910, 'Bonificação', 1);

INSERT INTO gestao.st (id_st, id_empresa, codigo, descricao, aliq_ipi, aliq_pis, aliq_cofins, desc_ipi_bc) VALUES
    (1, 1, 60, 'ICMS cobrado por substituição', 5.00, 1.65, 7.60, 0),
    (2, 1, 10, 'Tributada com ST', 5.00, 1.65, 7.60, 1),
    (3, 1, 0, 'Tributada integralmente', 10.00, 1.65, 7.60, 0);

INSERT INTO gestao.stxtes (id_empresa, cod_tes, cod_st, cod_st_exclusivo) VALUES
    (1, 5910, 60, 10);

INSERT INTO gestao.grupost (id_empresa, grupo_st, id_tes, id_st) VALUES
    (1, 'PERFIS', 1, 1),
    (1, 'PERFIS', 5, 2);

-- ICMS substitution of situation 60: contributors in SC and PR; final consumers in SC.
INSERT INTO gestao.sticms (id_st, uf, st_especifica, contribuinte_icms, perc_bc_icms, aliq_icms, modal_bc_icmsst,
                           aliq_icmsst, somar_icmsst_nf, perc_marg_vl_icmsst, perc_red_bc_icmsst, dt_atual) VALUES
    (1, 'SC', '', 1, 100.00, 17.00, '4', 17.00, 1, 39.00, 0.00, '2025-06-01'),
    (1, 'PR', '', 1, 100.00, 12.00, '4', 19.50, 1, 45.12, 0.00, '2026-11-20'),
    (1, 'SC', '', 0, 100.00, 17.00, '4', 17.00, 1, 0.00, 0.00, '2025-06-01');

-- Payment forms of company 1: cash and 28/56 days (average term 42) go to the workstations, the
-- card form is for internal use only.
INSERT INTO gestao.formapag (id_formapag, id_empresa, codigo, descr, desco, acresc, numparc, frete, ipi, arred,
                             cobr_ban, integrar_qav, lancar_fila_cf, ativa, id_carteira, id_portador,
                             forma_pagto_normal, tipo_correntista, libera_credito, dt_atual) VALUES
    (1, 1, 1, 'À vista', 3.00, 0.00, 1, 0, 0, 0.00, 0, 1, 0, 1, 1, 3, 1, 0, 0, '2025-06-01'),
    (2, 1, 2, '28/56 dias', 0.00, 2.50, 2, 0, 0, 0.00, 1, 1, 0, 1, 2, 3, 1, 0, 1, '2026-11-20'),
    (3, 1, 3, 'Cartão – uso interno', 0.00, 0.00, 1, 0, 0, 0.00, 0, 0, 0, 1, 1, 3, 1, 0, 0, '2025-06-01');

INSERT INTO gestao.prazopag (id_formapag, parcela, prazo, porpag) VALUES
    (1, 1, 0, 100.00),
    (2, 1, 28, 50.00),
    (2, 2, 56, 50.00);

-- Groups (codes 1, 2) and subgroups (10, 11, 20) of company 1. Group 2 stays in the office;
-- subgroup 11 holds colour variations, which reach the workstations only as linked products.
INSERT INTO gestao.grupo (id_grupo, id_empresa, codigo, nome, int_qav, produto_variacao, desc_padrao, desc_max, da) VALUES
    (1, 1, 1, 'Perfis', 1, 0, 0.00, 0.00, '2025-06-01'),
    (2, 1, 10, 'Perfis de alumínio', 1, 0, 5.00, 12.00, '2025-06-01'),
    (3, 1, 11, 'Variações de cor', 1, 1, 5.00, 12.00, '2025-06-01'),
    (4, 1, 2, 'Uso interno', 0, 0, 0.00, 0.00, '2025-06-01'),
    (5, 1, 20, 'Acessórios', 1, 0, 0.00, 5.00, '2026-11-20');

-- Products of company 1 (id_erp 1001-1007). 1001 is a bar sold by weight and length; 1003 is a
-- colour variation linked to 1001; 1005 belongs to the internal group, 1006 is inactive, 1007 is
-- raw material (type 01). The description of 1001 carries a double quote, a single quote and a
-- backslash.
INSERT INTO gestao.produto (id_produto, id_empresa, codigo, descricao, referencia, cod_barra, unidade, tipo, cod_ncm,
                            aliq_icms, cod_grupo, cod_subgrupo, cod_st, data_cadastro, ativo, vl_preco1, vl_preco2,
                            vl_preco3, aliq_ipi, vol_m3, id_prodvinc, descr_det, data_reajuste, lista_pauta,
                            preco_promocional, peso_liquido, peso_bruto, qtd_volume, cod_estlocal, dt_atual,
                            taxa_comissao, id_erp, classe_abc, subcategoria, largura, altura, comprimento,
                            peso_metro, permite_acessorios, qtd_embalagem, grupo_st, lote_mul_venda,
                            permitir_dif_lote, tx_desc_lote) VALUES
    (1, 1, 'P-1001', 'Perfil U 3/4 anodizado', 'REF-U34', '7891234500011', 'BR', '00', 76042910, 17.00, 1, 10, 60,
     '2020-01-10', 1, 25.500, 24.000, 23.000, 5.00, 0.00120, NULL, 'Perfil "U" 3/4'' anodizado \ fosco',
     '2026-01-05', 1, 0, 1.850, 1.900, 1.000, 1, '2025-06-01', 3.00, 1001, 'A', 103, 0, 0, 6000, 0.308, 'S',
     1.0000, 'PERFIS', 1.000, 0, 0.00),
    (2, 1, 'P-1002', 'Cantoneira de alumínio 1"', 'REF-C1', '7891234500028', 'PC', '00', 76042910, 17.00, 1, 10,
     10, '2020-01-10', 1, 12.750, 12.000, 11.500, 5.00, 0.00040, NULL, 'Cantoneira de alumínio 1" natural',
     '2026-01-05', 1, 0, 0.620, 0.650, 1.000, 1, '2026-11-20', 3.00, 1002, 'B', 0, 0, 0, 0, 0.000, 'N', 10.0000,
     NULL, 10.000, 1, 2.00),
    (3, 1, 'P-1003', 'Perfil U 3/4 bronze', 'REF-U34-BR', NULL, 'BR', '00', 76042910, 17.00, 1, 11, 60,
     '2021-03-01', 1, 27.000, 26.000, 25.000, 5.00, 0.00120, 1001, 'Perfil "U" 3/4'' bronze', '2026-01-05', 1, 0,
     1.850, 1.900, 1.000, 1, '2025-06-01', 3.00, 1003, 'B', 103, 30, 20, 6000, 0.308, 'S', 1.0000, 'PERFIS', 1.000,
     0, 0.00),
    (4, 1, 'P-1004', 'Puxador concha', 'REF-PX', '7891234500042', 'UN', '04', 83024200, 17.00, 1, 20, 0,
     '2022-05-01', 1, 8.900, 8.500, 8.000, 10.00, 0.00010, NULL, 'Puxador concha cromado', '2026-01-05', 1, 0,
     0.080, 0.090, 1.000, 1, '2026-11-20', 5.00, 1004, 'C', 0, 0, 0, 0, 0.000, 'N', 1.0000, NULL, 1.000, 0, 0.00),
    (5, 1, 'P-1005', 'Chapa para uso interno', NULL, NULL, 'KG', '00', 76061190, 17.00, 2, 10, 0, '2022-05-01', 1,
     4.000, 4.000, 4.000, 5.00, 0.00000, NULL, 'Chapa para uso interno', '2026-01-05', 1, 0, 1.000, 1.000, 1.000, 1,
     '2025-06-01', 0.00, 1005, 'C', 0, 0, 0, 0, 0.000, 'N', 1.0000, NULL, 1.000, 0, 0.00),
    (6, 1, 'P-1006', 'Perfil descontinuado', NULL, NULL, 'BR', '00', 76042910, 17.00, 1, 10, 60, '2015-01-01', 0,
     19.000, 19.000, 19.000, 5.00, 0.00100, NULL, 'Perfil descontinuado', '2019-01-05', 1, 0, 1.500, 1.550, 1.000,
     1, '2025-06-01', 3.00, 1006, 'C', 103, 0, 0, 6000, 0.250, 'N', 1.0000, NULL, 1.000, 0, 0.00),
    (7, 1, 'P-1007', 'Tarugo de alumínio', NULL, NULL, 'KG', '01', 76011000, 17.00, 1, 10, 0, '2015-01-01', 1,
     14.000, 14.000, 14.000, 0.00, 0.00000, NULL, 'Tarugo de alumínio (matéria-prima)', '2026-01-05', 1, 0, 1.000,
     1.000, 1.000, 1, '2025-06-01', 0.00, 1007, 'C', 0, 0, 0, 0, 0.000, 'N', 1.0000, NULL, 1.000, 0, 0.00);

INSERT INTO gestao.produto1 (id_produto, carac1, carac2, carac3, carac4, carac5) VALUES
    (1, 'Liga 6063', 'Têmpera T5', 'Anodizado fosco', NULL, NULL),
    (2, 'Liga 6063', 'Têmpera T5', NULL, NULL, NULL);

INSERT INTO gestao.unidade (id_unidade, id_empresa, unidade, descricao, ativa) VALUES
    (1, 1, 'UN', 'Unidade', 1),
    (2, 1, 'PC', 'Peça', 1),
    (3, 1, 'BR', 'Barra', 1),
    (4, 1, 'KG', 'Quilograma', 1);

-- Price lists: 1 and 2 are the company's lists for salesperson 5; 3 is exclusive to the customer
-- Vidraçaria D'Ávila; 4 is inactive.
INSERT INTO gestao.pauta (id_pauta, id_empresa, codigo, num_pauta, dt_cadast, descricao, obs, ativo, bloquear_preco,
                          dt_ini, dt_fim, taxa_comissao, prazo_medio, dt_atual, bc_comissao, pauta_exclusiva_cliente,
                          bloq_descontos, vl_pedido1, vl_pedido2, tx_desconto1, tx_desconto2) VALUES
    (1, 1, 1, 'SC-2026', '2025-12-15', 'Tabela Padrão SC', 'Preços com ICMS 17%', 1, 0, '2026-01-01',
     '2026-12-31', 3.00, 30, '2025-12-15', 'PADRAO', 0, 0, 1000.00, 5000.00, 2.00, 4.00),
    (2, 1, 2, 'PR-2026', '2025-12-15', 'Tabela Oeste d''Ouro', NULL, 1, 0, '2026-01-01', '2026-12-31', 3.00, 30,
     '2026-11-20', NULL, 0, 1, NULL, NULL, NULL, NULL),
    (3, 1, 3, 'EXC-01', '2026-02-01', 'Exclusiva Vidraçaria D''Ávila', NULL, 1, 1, '2026-02-01', '2026-12-31',
     2.00, 28, '2026-02-01', NULL, 1, 0, NULL, NULL, NULL, NULL),
    (4, 1, 4, 'OLD-2024', '2024-01-01', 'Tabela 2024', NULL, 0, 0, '2024-01-01', '2024-12-31', 3.00, 30,
     '2024-01-01', NULL, 0, 0, NULL, NULL, NULL, NULL);

-- Prices: 1004 is a promotional price in list 1; list 1 also prices the colour variation 1003 under
-- the bar 1001; list 3 pays commission by divisor.
INSERT INTO gestao.pauxpro (id_pauxpro, id_pauta, id_prod, preco1, preco2, preco3, id_varprod, valor_pauta_icms_st,
                            bc_comissao, tp_pauta, divisor, tx_comissao, tx_icms, dt_atual) VALUES
    (1, 1, 1001, 25.5000, 24.0000, 23.0000, 0, 0.00, NULL, 0, 0, 0.00, 17.00, '2025-12-15'),
    (2, 1, 1002, 12.7500, 12.0000, 11.5000, 0, 0.00, NULL, 0, 0, 0.00, 17.00, '2026-11-20'),
    (3, 1, 1004, 7.9000, 7.5000, 7.0000, 0, 0.00, NULL, 1, 0, 0.00, 17.00, '2025-12-15'),
    (4, 1, 1001, 27.9000, 26.5000, 25.0000, 1003, 0.00, NULL, 0, 0, 0.00, 17.00, '2025-12-15'),
    (5, 2, 1001, 26.9000, 25.5000, 24.5000, 0, 0.00, 'ESPECIAL', 0, 0, 0.00, 12.00, '2026-11-20'),
    (6, 3, 1002, 11.5000, 11.5000, 11.5000, 0, 0.00, NULL, 0, 1.000000, 2.00, 17.00, '2026-02-01'),
    (7, 4, 1006, 18.0000, 18.0000, 18.0000, 0, 0.00, NULL, 0, 0, 0.00, 17.00, '2024-01-01');

-- Commission bands of the group PADRAO: full commission from 95% of the list price, 80% of it from
-- 90%, half below.
INSERT INTO gestao.bccomissao (id_empresa, grupo, faixa, tx_var_preco1, tx_var_preco2, tx_bc_comissao) VALUES
    (1, 'PADRAO', 1, 95.00, 9999.99, 100.00),
    (1, 'PADRAO', 2, 90.00, 94.99, 80.00),
    (1, 'PADRAO', 3, 0.00, 89.99, 50.00);

-- Partners of customers 1 and 2 (the same customer ids in either customer table).
INSERT INTO gestao.socios (id_socio, id_cliente, nome, cpf, naciona, ma_entrada, vl_quotas, funcao) VALUES
    (1, 1, 'Antônio Ferreira', '123.456.789-09', 'Brasileira', '2010-05-03', 50000.00, 'Sócio-gerente'),
    (2, 1, 'Márcia O''Neil', '987.654.321-00', 'Irlandesa', '2012-09-17', 25000.00, 'Sócia'),
    (3, 2, 'João D''Ávila \ Neto', '111.444.777-35', 'Brasileira', '2015-02-02', 10000.00, 'Administrador');

-- Stock of company 1 in place 1 (and some of 1001 in place 2).
INSERT INTO gestao.estsaldo (id_empresa, id_estlocal, id_produto, qtdade, qtd_empenhada, qtd_pedidos, data) VALUES
    (1, 1, 1001, 500.000, 20.000, 30.000, '2026-11-20'),
    (1, 1, 1002, 80.000, 0.000, 5.000, '2025-06-01'),
    (1, 1, 1004, 1000.000, 100.000, 0.000, '2026-11-20'),
    (1, 2, 1001, 100.000, 0.000, 0.000, '2026-11-20');

-- Standard costs: the latest date counts (1001 costs 19.40 since June).
INSERT INTO gestao.cstpadrao (id_empresa, id_produto, data, valor) VALUES
    (1, 1001, '2026-01-10', 18.2000),
    (1, 1001, '2026-06-10', 19.4000),
    (1, 1002, '2026-06-10', 8.1000);

-- Invoice 5001 invoiced the delivery 9001 of the ERP and the order 101 of the manager database.
INSERT INTO gestao.nf (id_nf, id_empresa, numero, serie, data_emissao, chave_acesso_nfe, num_entrega, num_pedido) VALUES
    (1, 1, 5001, '1', '2026-10-05', '42261012345678000195550010000050011000050010', 9001, 101);

-- Order types: one for every salesperson of company 1, a bonus type for salesperson 5, one of
-- salesperson 6, and one of the branch.
INSERT INTO gestao.qavtipoped (id_qavtipoped, id_empresa, cod_vendedor, descricao, ativo, cod_tes, cod_tes_nc,
                               id_estlocal) VALUES
    (1, 1, NULL, 'Venda', 1, 5101, 5102, 1),
    (2, 1, 5, 'Bonificação', 1, 5910, 5910, 1),
    (3, 1, 6, 'Venda Maria', 1, 5101, 5102, 1),
    (4, 2, NULL, 'Venda filial', 1, 6101, 6108, 2);
