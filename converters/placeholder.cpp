// Entity converters.
