// ORVENA: a 26-string lever zither for hearing tuning systems and makam scales.
int main() { return 0; }
