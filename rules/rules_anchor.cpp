// Keeps vt_rules a library while its facets grow; holds no code.
