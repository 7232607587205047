// Placeholder; the dBase reader lands here.
