// Keeps the gui target non-empty until the window lands.
