// A small Linux program whose only purpose is its ".vt_version" section: the
// ELF seed of the version reader's fuzz target.
int main() { return 0; }
