// Console front end.
