// Carries a version resource for the file-version tests (see version_default_codepage.rc).
int main() { return 0; }
