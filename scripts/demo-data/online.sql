-- The demo's online database: the maker publishes launcher build 1.00.00.01,
-- one build ahead of the demo launcher (1.0.0.0), so the run updates itself.
DROP DATABASE IF EXISTS quorvelin_demo;
CREATE DATABASE quorvelin_demo CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;
DROP USER IF EXISTS 'vantorim_demo'@'%';
CREATE USER 'vantorim_demo'@'%' IDENTIFIED BY 'demo-senha';
GRANT ALL PRIVILEGES ON quorvelin_demo.* TO 'vantorim_demo'@'%';
FLUSH PRIVILEGES;
CREATE TABLE quorvelin_demo.tabscoappversoes (CODIGO INT PRIMARY KEY, VANTORIM VARCHAR(30));
INSERT INTO quorvelin_demo.tabscoappversoes VALUES (1, 'V1.00.00.01');
-- The demo company (handle 1200), on the suite version of the reference
-- client (53), with the point-of-sale module (7) and two custom layouts.
CREATE TABLE quorvelin_demo.tabclientes (HANDLE INT, RAZAOSOCIAL VARCHAR(100), NOMEFANT VARCHAR(100),
  RELEASE_VANTORIM INT, SCO_VERSAO VARCHAR(30), SEGMENTO_EMPRESA VARCHAR(40), CONEXAOONLINE VARCHAR(200));
INSERT INTO quorvelin_demo.tabclientes VALUES
  (53, 'Quorvelin Referência', 'Referência', 0, 'V2.03.11.00', 'VAREJO', 'referencia.quorvelin:3306/ref'),
  (1200, 'Padaria Demonstração Ltda', 'Padaria Demo', 0, 'V2.03.11.00', 'VAREJO', 'demo.quorvelin:3306/padaria1200');
CREATE TABLE quorvelin_demo.tabscoclientesmodulos (CODCLI INT, CODMODULO INT);
INSERT INTO quorvelin_demo.tabscoclientesmodulos VALUES (1200, 7);
CREATE TABLE quorvelin_demo.tabscoreportsonline (CODIGO INT PRIMARY KEY, HANDLE INT, FILENAME VARCHAR(255),
  DIRETORIO VARCHAR(255), DATAALT DATETIME);
INSERT INTO quorvelin_demo.tabscoreportsonline VALUES
  (1, 1200, 'cupom', 'venda', '2026-11-20 09:15:00'),
  (2, 1200, 'boleto_padaria', 'financeiro', '2026-10-02 16:40:00');
