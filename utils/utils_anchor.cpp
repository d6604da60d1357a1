// Keeps vt_utils a library while its facets grow; holds no code.
