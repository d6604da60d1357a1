-- The maker moves the demo company, with the reference client (53), to the
-- suite's next version, and changes the company's "cupom" layout.
UPDATE quorvelin_demo.tabclientes SET SCO_VERSAO = 'V2.03.12.00' WHERE HANDLE IN (53, 1200);
UPDATE quorvelin_demo.tabscoreportsonline SET DATAALT = '2026-12-05 08:30:00' WHERE HANDLE = 1200 AND FILENAME = 'cupom';
