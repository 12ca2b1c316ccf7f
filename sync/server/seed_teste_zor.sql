-- Test data of the ERP schema "zor", loaded after seed_teste.sql.
--
-- Customers: 1 and 4 belong to salesperson 5; 2 belongs to salesperson 5 with 6 as second
-- salesperson (paid on receipt, 2.50%), has the exclusive price list 3 and a name with a quote, a
-- backslash and accents; 3 belongs to salesperson 6 only.
-- Orders of company 1: 101 (open), 102 (invoiced, situation 5) and 104 (released) - 103 is free;
-- delivery 9001 delivers part of order 101 and was invoiced by invoice 5001. Company 2 has order 501.

INSERT INTO zor.corrent (id_corrent, ativo, pesso, consfinal, cgcpf, inscr, nome, razao, endereco, compl, bairr,
                         id_municipio, cep, e_ender, e_bairr, id_municipio_entrega, e_cep, c_ender, c_bairr,
                         id_municipio_cobranca, c_cep, e_mail, data, cod_vendedor, cod_vendedor2, cod_vendedor3,
                         conta, ddd, telef, classe, limcred, tolatr, cod_formapag, id_transportadora, id_regiao,
                         obs, suf_cgcpf, num_endereco, email_nfe, cod_pais, cod_tes, regra_exclusiva,
                         indicador_ie, cod_pauta, dt_atual) VALUES
    (1, 1, 2, 0, '11.222.333/0001-81', '251.111.222', 'Ferragens São João',
     'Comércio de Ferragens São João Ltda', 'Av. Beira-Mar Norte', 'Sala 2', 'Centro', 1, '88015-700',
     'Av. Beira-Mar Norte', 'Centro', 1, '88015-700', NULL, NULL, NULL, NULL, 'compras@saojoao.com.br',
     '2015-03-10', 5, NULL, NULL, 'Sr. Vitório', '48', '3224-5566', 'A', 15000.00, 5, 2, NULL, 1,
     'Entregar pela manhã', NULL, '500', 'nfe@saojoao.com.br', 1058, NULL, NULL, 1, NULL, '2025-06-01'),
    (2, 1, 2, 0, '44.555.666/0001-72', '252.333.444', 'Vidraçaria D''Ávila',
     'Vidraçaria D''Ávila \ Filhos Ltda', 'Rua Nereu Ramos', NULL, 'Centro', 5, '89600-000', NULL, NULL, NULL,
     NULL, 'Caixa Postal 12', 'Centro', 5, '89600-970', 'contato@davila.com.br', '2018-08-01', 5, 6, NULL,
     'Dona Cecília', '49', '3551-0101', 'B', 8000.00, 0, 1, NULL, 1, NULL, NULL, '1024', NULL, 1058, 5910,
     'FATBARRA', 1, 3, '2026-11-20'),
    (3, 1, 2, 0, '77.888.999/0001-63', '253.555.666', 'Construtora Alvorada', 'Construtora Alvorada S.A.',
     'Rua Marechal Deodoro', NULL, 'Centro', 4, '80020-320', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
     '2019-01-20', 6, NULL, NULL, NULL, '41', '3322-1000', 'A', 50000.00, 10, 2, NULL, 2, NULL, NULL, '1500',
     NULL, 1058, NULL, NULL, 1, NULL, '2025-06-01'),
    (4, 1, 1, 1, '529.982.247-25', NULL, 'Carlos Müller', 'Carlos Eduardo Müller', 'Rua Padre Anchieta', 'Ap. 301',
     'Bigorrilho', 4, '80730-000', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'carlos.muller@email.com',
     '2022-04-04', 5, NULL, NULL, NULL, '41', '99876-5432', 'C', 2000.00, 0, 1, NULL, 2, NULL, NULL, '120', NULL,
     1058, NULL, NULL, 9, NULL, '2025-06-01');

INSERT INTO zor.sitpedido (id_sitpedido, descricao) VALUES
    (1, 'Em aberto'),
    (2, 'Liberado'),
    (3, 'Cancelado'),
    (4, 'Bloqueado'),
    (5, 'Faturado'),
    (6, 'Encerrado'),
    (91, 'Recebido do QAV+');

INSERT INTO zor.pedidos (id_pedido, id_empresa, cod_vendedor, tipo, numero, situa, data, dtprevent, data_emissao,
                         numer_ped_vinc, clien, e_ender, e_munic, e_estad, conta, cod_formapag, totpr, ipi, fconta,
                         frete, total, descp, descv, obs, prz_con, num_ped_qav, num_ped_vendedor, cod_pauta,
                         id_tes, inf_usuario, ped_flex) VALUES
    (1, 1, 5, 'P', 101, 1, '2026-10-01', '2026-10-20', NULL, NULL, 1, 'Av. Beira-Mar Norte', 'Florianópolis', 'SC',
     'Sr. Vitório', 2, 306.00, 15.30, 3, 0.00, 321.30, 0.00, 0.00, 'Primeiro pedido', 28, '000005.A.00000001',
     '00000001/QAV+', 1, 1, 1, 0),
    (2, 1, 5, 'P', 102, 5, '2026-10-20', '2026-10-25', '2026-10-25', NULL, 4, NULL, 'Curitiba', 'PR', NULL, 1,
     89.00, 8.90, 3, 0.00, 97.90, 0.00, 0.00, NULL, 0, '000005.A.00000002', '00000002/QAV+', 1, 6, 1, 0),
    (3, 1, 5, 'P', 104, 2, '2026-11-05', NULL, NULL, NULL, 1, NULL, 'Florianópolis', 'SC', NULL, 2, 270.00, 13.50,
     3, 0.00, 283.50, 0.00, 0.00, 'Cor bronze', 28, '000005.A.00000003', '00000003/QAV+', 1, 1, 1, 1),
    (4, 1, 5, 'E', 9001, 5, '2026-10-05', NULL, '2026-10-05', 101, 1, NULL, 'Florianópolis', 'SC', NULL, 2, 127.50,
     6.38, 3, 0.00, 133.88, 0.00, 0.00, NULL, 28, NULL, NULL, 1, 1, 0, 0),
    (5, 2, 5, 'P', 501, 1, '2026-11-10', NULL, NULL, NULL, 3, NULL, 'Curitiba', 'PR', NULL, 1, 51.00, 2.55, 3,
     0.00, 53.55, 0.00, 0.00, NULL, 0, '000005.A.00000009', '00000009/QAV+', 2, 5, 1, 0);

INSERT INTO zor.peditens (id_peditem, id_pedido, ordem, produ, qtd, unidade, und_estoque, pruni, descp, descv, ipi,
                          total, comis, obs, status, id_st, id_varprod, pr_pauta_liq, vl_flex, preco_pauta) VALUES
    (1, 1, 1, 1001, 10.0000, 'BR', 'BR6000', 25.5000, 0.00, 0.00, 12.75, 255.00, 3.00, NULL, 0, 1, 0, 25.5000,
     0.00, 25.5000),
    (2, 1, 2, 1002, 4.0000, 'PC', 'PC', 12.7500, 0.00, 0.00, 2.55, 51.00, 3.00, 'Cortar ao meio', 0, 2, 0,
     12.7500, 0.00, 12.7500),
    (3, 2, 1, 1004, 10.0000, 'UN', 'UN', 8.9000, 0.00, 0.00, 8.90, 89.00, 5.00, NULL, 0, 3, 0, 8.9000, 0.00,
     8.9000),
    (4, 3, 1, 1001, 10.0000, 'BR', 'BR6000', 27.0000, 0.00, 0.00, 13.50, 270.00, 3.00, NULL, 0, 1, 1003, 27.9000,
     -9.00, 27.9000),
    (5, 4, 1, 1001, 5.0000, 'BR', 'BR6000', 25.5000, 0.00, 0.00, 6.38, 127.50, 3.00, NULL, 0, 1, 0, 25.5000,
     0.00, 25.5000),
    (6, 5, 1, 1002, 4.0000, 'PC', 'PC', 12.7500, 0.00, 0.00, 2.55, 51.00, 3.00, NULL, 0, 2, 0, 12.7500, 0.00,
     12.7500);

INSERT INTO zor.pedacessorio (id_pedacessorio, id_peditem, id_acessorio, valor) VALUES
    (1, 1, 1, 3.50);

-- Receivables of salesperson 5 in company 1: two open instalments of order 101 and one paid title;
-- one open title of salesperson 6.
INSERT INTO zor.ctr (id_empresa, cod_vendedor, numero, docto, deved, emiss, vecto, valor, juros, desp_cobranca,
                     data_baixa, recbt, desco, saldo, judia, bcomis, comis, porta, id_tpcobr, situacao) VALUES
    (1, 5, '101-1', 'NF 5001/1', 1, '2026-10-05', '2026-11-02', 160.65, 0.00, 0.00, NULL, 0.00, 0.00, 160.65, 0.05,
     160.65, 3.00, 3, 1, 'A'),
    (1, 5, '101-2', 'NF 5001/2', 1, '2026-10-05', '2026-11-30', 160.65, 0.00, 0.00, NULL, 0.00, 0.00, 160.65, 0.05,
     160.65, 3.00, 3, 1, 'A'),
    (1, 5, '95-1', 'NF 4870/1', 4, '2026-08-01', '2026-09-01', 97.90, 1.20, 2.50, '2026-09-03', 101.60, 0.00, 0.00,
     0.04, 97.90, 5.00, 3, 2, 'B'),
    (1, 6, '120-1', 'NF 5100/1', 3, '2026-11-01', '2026-12-01', 5000.00, 0.00, 0.00, NULL, 0.00, 0.00, 5000.00, 1.50,
     5000.00, 2.50, 3, 1, 'A');

-- The standard price table of company 1 since 2026 charges 1.80 financial rate and adds a twelfth
-- to commissions; the newer table of June is not the standard one.
INSERT INTO zor.tabdesp (id_empresa, data, tab_padrao, taxa_fin, adic_comissao) VALUES
    (1, '2025-01-01', 1, 1.50, 0),
    (1, '2026-01-01', 1, 1.80, 1),
    (1, '2026-06-01', 0, 9.99, 0);

INSERT INTO zor.pcpperfil (id_empresa, codigo, descricao, peso) VALUES
    (1, 'REF-U34', 'Perfil U 3/4', 0.315);

INSERT INTO zor.pesomed (id_produto, data, peso_liq) VALUES
    (1001, '2026-05-01', 1.840),
    (1001, '2026-09-01', 1.860);

INSERT INTO zor.regiao (id_regiao, descricao) VALUES
    (1, 'Litoral catarinense'),
    (2, 'Paraná');

-- Freight from Joinville: the July rates replace the January ones.
INSERT INTO zor.fretexreg (id_regiao, id_mun_carreg, data, vl_custo_m3, vl_custo_kg, tx_frete) VALUES
    (1, 2, '2026-01-01', 40.000000, 0.150000, 3.00),
    (1, 2, '2026-07-01', 45.500000, 0.180000, 3.50),
    (2, 2, '2026-07-01', 60.000000, 0.220000, 4.00);

-- The sequences go on after the ids given above.
DO $$
DECLARE
    c record;
    maior bigint;
BEGIN
    FOR c IN SELECT table_schema, table_name, column_name
               FROM information_schema.columns
              WHERE table_schema IN ('gestao', 'zor') AND column_default LIKE 'nextval(%'
    LOOP
        EXECUTE format('SELECT max(%I) FROM %I.%I', c.column_name, c.table_schema, c.table_name) INTO maior;
        IF maior IS NOT NULL THEN
            PERFORM setval(pg_get_serial_sequence(format('%I.%I', c.table_schema, c.table_name), c.column_name),
                           maior);
        END IF;
    END LOOP;
END
$$;
