// Carries a version resource for the file-version tests (see version_empty_product.rc).
int main() { return 0; }
