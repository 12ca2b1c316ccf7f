-- Test data of a sales office's manager database (schemas gerente and expzor), loaded after
-- seed_teste.sql.
--
-- Customers: the same 1 to 4 as in the ERP (1, 2 and 4 of salesperson 5, 3 of salesperson 6), the
-- reserved id 900500, and 950001, created in the office by the sequence.
-- Orders of company 1: 101 (invoiced), 102 and 104 already sent - 103 is free; 105 was entered in
-- the office (situation 2) and waits to be imported by the hub workstation; 106 was imported
-- already.

INSERT INTO gerente.clientes (id_cliente, ativo, pesso, consfinal, cgcpf, suf_cgcpf, inscr, nome, razao, ender, compl,
                              bairr, id_municipio, cep, e_ender, e_bairr, e_munic, e_estad, e_cep, c_ender, c_bairr,
                              c_munic, c_estad, c_cep, e_mail, data, cod_vendedor, conta, ddd, telef, classe,
                              limcred, tolatr, cod_formapag, obs, num_endereco, email_nfe, cod_pais, dt_atual,
                              cod_pauta, indicador_ie, desc_cliente_rede) VALUES
    (1, 1, 2, 0, '11.222.333/0001-81', NULL, '251.111.222', 'Ferragens São João',
     'Comércio de Ferragens São João Ltda', 'Av. Beira-Mar Norte', 'Sala 2', 'Centro', 1, '88015-700',
     'Av. Beira-Mar Norte', 'Centro', 'Florianópolis', 'SC', '88015-700', NULL, NULL, NULL, NULL, NULL,
     'compras@saojoao.com.br', '2015-03-10', 5, 'Sr. Vitório', '48', '3224-5566', 'A', 15000.00, 5, 2,
     'Entregar pela manhã', '500', 'nfe@saojoao.com.br', 1058, '2025-06-01', NULL, 1, 0),
    (2, 1, 2, 0, '44.555.666/0001-72', NULL, '252.333.444', 'Vidraçaria D''Ávila',
     'Vidraçaria D''Ávila \ Filhos Ltda', 'Rua Nereu Ramos', NULL, 'Centro', 5, '89600-000', NULL, NULL, NULL,
     NULL, NULL, 'Caixa Postal 12', 'Centro', 'Herval d''Oeste', 'SC', '89600-970', 'contato@davila.com.br',
     '2018-08-01', 5, 'Dona Cecília', '49', '3551-0101', 'B', 8000.00, 0, 1, NULL, '1024', NULL, 1058,
     '2026-11-20', 3, 1, 0),
    (3, 1, 2, 0, '77.888.999/0001-63', NULL, '253.555.666', 'Construtora Alvorada', 'Construtora Alvorada S.A.',
     'Rua Marechal Deodoro', NULL, 'Centro', 4, '80020-320', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
     NULL, NULL, '2019-01-20', 6, NULL, '41', '3322-1000', 'A', 50000.00, 10, 2, NULL, '1500', NULL, 1058,
     '2025-06-01', NULL, 1, 0),
    (4, 1, 1, 1, '529.982.247-25', NULL, NULL, 'Carlos Müller', 'Carlos Eduardo Müller', 'Rua Padre Anchieta',
     'Ap. 301', 'Bigorrilho', 4, '80730-000', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
     'carlos.muller@email.com', '2022-04-04', 5, NULL, '41', '99876-5432', 'C', 2000.00, 0, 1, NULL, '120', NULL,
     1058, '2025-06-01', NULL, 9, 0),
    (900500, 1, 2, 0, '22.333.444/0001-05', NULL, NULL, 'Id reservado', 'Cliente com Id da Faixa Local Ltda',
     'Rua Sem Nome', NULL, 'Centro', 1, '88000-000', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
     NULL, '2023-01-01', 5, NULL, NULL, NULL, 'C', 0.00, 0, 1, NULL, NULL, NULL, 1058, '2025-06-01', NULL, 1, 0),
    (950001, 1, 2, 0, '33.444.555/0001-02', NULL, NULL, 'Serralheria Ômega', 'Serralheria Ômega Ltda ME',
     'Rua Itajaí', '', 'Vila Nova', 2, '89237-000', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
     'omega@serralheria.com.br', '2026-11-28', 5, 'Sr. Otávio', '47', '3433-2211', 'C', 3000.00, 0, 2, NULL, '45',
     NULL, 1058, '2026-11-28', NULL, 1, 0);

INSERT INTO gerente.pedidos (id_pedido, id_empresa, numero, numero_dia, data, situa, dtemi, clien, cod_vendedor,
                             e_ender, e_munic, e_estad, conta, cod_formapag, previ, totpr, ipi, fconta, frete,
                             total, id_tipov, descp, descv, comis, obs, prz_con, num_ped_qav, num_client_vend,
                             tipo, num_pauta, inf_usuario, ped_flex, peso_liquido, peso_bruto,
                             desc_cliente_rede) VALUES
    (1, 1, 101, 1, '2026-10-01', 5, '2026-10-05', 1, 5, 'Av. Beira-Mar Norte', 'Florianópolis', 'SC', 'Sr. Vitório',
     2, '2026-10-20', 306.00, 15.30, 3, 0.00, 321.30, 1, 0.00, 0.00, 3.00, 'Primeiro pedido', 28,
     '000005.A.00000001', '00000001/QAV+', 'N', 'SC-2026', 1, 0, 20.980, 21.600, 0),
    (2, 1, 102, 1, '2026-10-20', 5, NULL, 4, 5, NULL, 'Curitiba', 'PR', NULL, 1, '2026-10-25', 89.00, 8.90, 3, 0.00,
     97.90, 1, 0.00, 0.00, 5.00, NULL, 0, '000005.A.00000002', '00000002/QAV+', 'N', 'SC-2026', 1, 0, 0.800,
     0.900, 0),
    (3, 1, 104, 1, '2026-11-05', 5, NULL, 1, 5, NULL, 'Florianópolis', 'SC', NULL, 2, NULL, 270.00, 13.50, 3, 0.00,
     283.50, 1, 0.00, 0.00, 3.00, 'Cor bronze', 28, '000005.A.00000003', '00000003/QAV+', 'N', 'SC-2026', 1, 1,
     18.500, 19.000, 0),
    (4, 1, 105, 1, '2026-12-01', 2, NULL, 950001, 5, 'Rua Itajaí', 'Joinville', 'SC', 'Sr. Otávio', 2, NULL, 204.00,
     10.20, 2, 15.00, 229.20, 1, 0.00, 0.00, 3.00, 'Pedido do escritório: "urgente"', 28, '', NULL, 'N',
     'SC-2026', 1, 0, 5.400, 5.700, 0),
    (5, 1, 106, 2, '2026-12-01', 2, NULL, 1, 5, NULL, 'Florianópolis', 'SC', NULL, 1, NULL, 25.50, 1.28, 2, 0.00,
     26.78, 1, 0.00, 0.00, 3.00, NULL, 0, 'QAV#12', 'QAV # 12', 'N', 'SC-2026', 1, 0, 1.850, 1.900, 0);

INSERT INTO gerente.peditens (id_peditens, id_pedido, ordem, produ, qtd, pruni, descp, descv, ipi, total, comis,
                              obs, custo, preco_pauta, status, id_st, valor_produto, valor_acessorios, id_tes,
                              preco_com_ipi, pr_pauta_liq, vl_flex) VALUES
    (1, 1, 1, 1001, 10.0000, 25.5000, 0.00, 0.00, 12.75, 255.00, 3.00, NULL, 19.40, 25.5000, 0, 1, 25.5000, 0.00,
     1, 0, 25.5000, 0.00),
    (2, 1, 2, 1002, 4.0000, 12.7500, 0.00, 0.00, 2.55, 51.00, 3.00, 'Cortar ao meio', 8.10, 12.7500, 0, 2,
     12.7500, 0.00, 1, 0, 12.7500, 0.00),
    (3, 2, 1, 1004, 10.0000, 8.9000, 0.00, 0.00, 8.90, 89.00, 5.00, NULL, 0.00, 8.9000, 0, 3, 8.9000, 0.00, 6, 0,
     8.9000, 0.00),
    (4, 3, 1, 1001, 10.0000, 27.0000, 0.00, 0.00, 13.50, 270.00, 3.00, NULL, 19.40, 27.9000, 0, 1, 27.0000, 0.00,
     1, 0, 27.9000, -9.00),
    (5, 4, 1, 1001, 6.0000, 25.5000, 0.00, 0.00, 7.65, 153.00, 3.00, NULL, 19.40, 25.5000, 0, 1, 25.5000, 0.00,
     1, 0, 25.5000, 0.00),
    (6, 4, 2, 1002, 4.0000, 12.7500, 0.00, 0.00, 2.55, 51.00, 3.00, 'Com furação', 8.10, 12.7500, 0, 2, 12.7500,
     0.00, 1, 0, 12.7500, 0.00),
    (7, 5, 1, 1001, 1.0000, 25.5000, 0.00, 0.00, 1.28, 25.50, 3.00, NULL, 19.40, 25.5000, 0, 1, 25.5000, 0.00, 1,
     0, 25.5000, 0.00);

INSERT INTO gerente.pedacessorio (id_pedacessorio, id_peditem, id_acessorio, valor) VALUES
    (1, 1, 1, 3.50);

-- Bonus operations: 1 for customers who are not final consumers, 2 for final consumers.
INSERT INTO gerente.tes (id_tes, id_empresa, codigo, descricao, tipo_qav, tes_valida_cons_final) VALUES
    (1, 1, 5910, 'Bonificação', 2, 0),
    (2, 1, 5949, 'Bonificação a consumidor final', 2, 1);

-- Accessories of the subgroup 20 "Acessórios" (gestao.grupo id 5); the brush seal is inactive.
INSERT INTO gerente.acessorio (id_acessorio, id_empresa, id_subgrupo, descricao, preco, ativo, dt_atual) VALUES
    (1, 1, 5, 'Tampa de acabamento', 3.50, 1, '2025-06-01'),
    (2, 1, 5, 'Escova de vedação', 1.20, 0, '2026-11-20');

INSERT INTO gerente.ctr (id_empresa, cod_vendedor, numero, docto, deved, emiss, vecto, valor, juros, despcart,
                         dt_baixa, recbt, desco, saldo, judia, base_comissao, taxa_comissao, porta, cod_carteira,
                         situacao) VALUES
    (1, 5, '101-1', 'NF 5001/1', 1, '2026-10-05', '2026-11-02', 160.65, 0.00, 0.00, NULL, 0.00, 0.00, 160.65, 0.05,
     160.65, 3.00, 3, 1, 'A'),
    (1, 5, '101-2', 'NF 5001/2', 1, '2026-10-05', '2026-11-30', 160.65, 0.00, 0.00, NULL, 0.00, 0.00, 160.65, 0.05,
     160.65, 3.00, 3, 1, 'A'),
    (1, 5, '95-1', 'NF 4870/1', 4, '2026-08-01', '2026-09-01', 97.90, 1.20, 2.50, '2026-09-03', 101.60, 0.00, 0.00,
     0.04, 97.90, 5.00, 3, 2, 'B');

-- What the ERP exports to the office: its groups, and its products with one (1008) that the office
-- does not have yet.
INSERT INTO expzor.grupo SELECT * FROM gestao.grupo;
INSERT INTO expzor.produto SELECT * FROM gestao.produto;
INSERT INTO expzor.produto (id_produto, id_empresa, codigo, descricao, unidade, tipo, cod_grupo, cod_subgrupo, cod_st,
                            ativo, vl_preco1, vl_preco2, vl_preco3, descr_det, lista_pauta, id_erp, dt_atual)
    VALUES (8, 1, 'P-1008', 'Trilho superior', 'BR', '00', 1, 10, 60, 1, 31.000, 30.000, 29.000,
            'Trilho superior para porta de correr', 1, 1008, '2026-11-20');

-- The sequences go on after the ids given above.
DO $$
DECLARE
    c record;
    maior bigint;
BEGIN
    FOR c IN SELECT table_schema, table_name, column_name
               FROM information_schema.columns
              WHERE table_schema IN ('gestao', 'gerente') AND column_default LIKE 'nextval(%'
    LOOP
        EXECUTE format('SELECT max(%I) FROM %I.%I', c.column_name, c.table_schema, c.table_name) INTO maior;
        IF maior IS NOT NULL THEN
            PERFORM setval(pg_get_serial_sequence(format('%I.%I', c.table_schema, c.table_name), c.column_name),
                           maior);
        END IF;
    END LOOP;
END
$$;
