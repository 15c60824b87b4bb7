-- The application's own tables, created in the application role's schema
-- (search_path finds them). Shared by the tests and the demo database.

create table dict_setting (
    setting_id    varchar(100) primary key,
    setting_value varchar(4000)
);
