// Console window services.
