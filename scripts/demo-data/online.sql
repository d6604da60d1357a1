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
